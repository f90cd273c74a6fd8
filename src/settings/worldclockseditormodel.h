#pragma once

#include "core/recordlistmodel.h"

#include <QObject>
#include <QString>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

class AppSettings;

// A city row of the world-clock editor.
struct WorldClockRow {
    QString id;
    QString label;
    QString timeZone;
    QVariantList zoneOptions;
    bool removable = false;

    bool operator==(const WorldClockRow &) const = default;

    enum Role { IdRole = Qt::UserRole, LabelRole, TimeZoneRole, ZoneOptionsRole, RemovableRole, ZoneIndexRole };
    static QHash<int, QByteArray> roles();
    QVariant roleValue(int role) const;
};

// The world-clock cities as the editor shows them, and its edits. Every edit
// writes the whole list back to the settings at once (and stores it).
class WorldClocksEditorModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by the settings window")
    Q_PROPERTY(QAbstractItemModel *cities READ cities CONSTANT)
    Q_PROPERTY(bool canAdd READ canAdd NOTIFY changed)
public:
    static constexpr int MaxCities = 3;

    explicit WorldClocksEditorModel(AppSettings *settings, QObject *parent = nullptr);

    QAbstractItemModel *cities() { return &m_rows; }
    const RecordListModel<WorldClockRow> &rows() const { return m_rows; }
    bool canAdd() const;

    Q_INVOKABLE void addCity();
    Q_INVOKABLE void removeCity(const QString &id);
    Q_INVOKABLE void setLabel(const QString &id, const QString &label);
    Q_INVOKABLE void setTimeZone(const QString &id, const QString &zone);

signals:
    void changed();

private:
    void rebuild();
    template<typename F> void edit(const QString &id, F change);

    AppSettings *m_settings;
    RecordListModel<WorldClockRow> m_rows;
};
