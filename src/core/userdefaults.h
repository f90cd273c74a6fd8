#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QVariant>
#include <QVariantMap>

// The user-defaults store: typed values under string keys, kept in one JSON
// file in the user's config folder.
//
// - Bool, integer, Double, String and data values keep their type on disk.
// - A missing key reads as the caller's fallback; reading never writes.
// - Every write goes to disk at once, atomically.
// - A file that cannot be parsed reads as empty and stays untouched until
//   the next write, which first keeps a copy of it beside the store.
class UserDefaults : public QObject {
    Q_OBJECT
public:
    enum class Type { None, Bool, Int, Double, String, Data };

    // path: the store file; empty means the default place under the XDG
    // config folder.
    explicit UserDefaults(const QString &path = QString(), QObject *parent = nullptr);

    static QString defaultPath();
    QString path() const { return m_path; }

    // The standard store the whole program shares.
    static UserDefaults *standard();
    static void setStandard(UserDefaults *defaults);

    bool contains(const QString &key) const { return m_values.contains(key); }
    Type typeOf(const QString &key) const;
    QVariant value(const QString &key) const { return m_values.value(key); }

    bool boolValue(const QString &key, bool fallback = false) const;
    qint64 intValue(const QString &key, qint64 fallback = 0) const;
    double doubleValue(const QString &key, double fallback = 0.0) const;
    QString stringValue(const QString &key, const QString &fallback = QString()) const;
    QByteArray dataValue(const QString &key, const QByteArray &fallback = QByteArray()) const;

    void setBool(const QString &key, bool value);
    void setInt(const QString &key, qint64 value);
    void setDouble(const QString &key, double value);
    void setString(const QString &key, const QString &value);
    void setData(const QString &key, const QByteArray &value);
    void remove(const QString &key);

    // Whether the last write reached the disk.
    bool lastWriteSucceeded() const { return m_lastWriteOk; }

signals:
    void changed(const QString &key);

private:
    void load();
    void put(const QString &key, const QVariant &value);
    bool save();

    QString m_path;
    QVariantMap m_values;
    bool m_unreadableOnDisk = false;
    bool m_lastWriteOk = true;
};

// The standard store's Bool for key, or fallback when nothing is stored.
bool defaultsBool(const QString &key, bool fallback);
