#pragma once

#include <QByteArray>
#include <QNetworkAccessManager>
#include <QObject>
#include <QString>
#include <QUrl>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>
#include <optional>

// A language the translator offers: its code and its name.
struct TranslatorLanguage {
    Q_GADGET
    QML_VALUE_TYPE(translatorLanguage)
    Q_PROPERTY(QString id MEMBER id CONSTANT)
    Q_PROPERTY(QString name MEMBER name CONSTANT)
public:
    QString id;
    QString name;
};
#include <utility>

namespace platform {
class IClipboard;
}

// The translator: the text to translate, the two languages, the last
// translation and a short status word, against the public web
// translation endpoint.
class TranslatorEngine : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("The island owns the translator")
    Q_PROPERTY(QString input READ input WRITE setInput NOTIFY inputChanged)
    Q_PROPERTY(QString output READ output NOTIFY outputChanged)
    Q_PROPERTY(QString source READ source WRITE setSource NOTIFY sourceChanged)
    Q_PROPERTY(QString target READ target WRITE setTarget NOTIFY targetChanged)
    Q_PROPERTY(QString detected READ detected NOTIFY detectedChanged)
    Q_PROPERTY(QString status READ status NOTIFY statusChanged)
    Q_PROPERTY(bool busy READ busy NOTIFY busyChanged)
    Q_PROPERTY(bool canTranslate READ canTranslate NOTIFY canTranslateChanged)
    Q_PROPERTY(QString sourceLabel READ sourceLabel NOTIFY labelsChanged)
    Q_PROPERTY(QString targetLabel READ targetLabel NOTIFY labelsChanged)
    Q_PROPERTY(QString pairLabel READ pairLabel NOTIFY labelsChanged)
    Q_PROPERTY(QList<TranslatorLanguage> languages READ languages CONSTANT)
public:
    using Language = TranslatorLanguage;
    static const QList<Language> &languages();
    static inline const QUrl DefaultBase = QUrl(QStringLiteral("https://translate.googleapis.com"));
    static constexpr int TransferTimeoutMs = 60000;

    TranslatorEngine(platform::IClipboard *clipboard, const QUrl &base = DefaultBase, QObject *parent = nullptr);

    QString input() const { return m_input; }
    void setInput(const QString &input);
    QString output() const { return m_output; }
    QString source() const { return m_source; }
    void setSource(const QString &source);
    QString target() const { return m_target; }
    void setTarget(const QString &target);
    QString detected() const { return m_detected; }
    QString status() const { return m_status; }
    bool busy() const { return m_busy; }

    bool canTranslate() const;
    Q_INVOKABLE static QString languageName(const QString &code);
    QString sourceLabel() const;
    QString targetLabel() const;
    QString pairLabel() const;

    Q_INVOKABLE void translate();
    Q_INVOKABLE void clear();
    Q_INVOKABLE void swapLanguages();
    Q_INVOKABLE void pasteFromClipboard();
    Q_INVOKABLE void copyOutput();

    // The translation (none when the reply carries none) and the detected
    // language code ("" when absent).
    static std::pair<std::optional<QString>, QString> parseResponse(const QByteArray &body);
    // The request address for text, with every query value percent-encoded
    // ("+", "&", "=" and "#" included).
    static QUrl requestUrl(const QUrl &base, const QString &source, const QString &target, const QString &text);

signals:
    void inputChanged();
    void outputChanged();
    void sourceChanged();
    void targetChanged();
    void detectedChanged();
    void statusChanged();
    void busyChanged();
    void canTranslateChanged();
    void labelsChanged();

private:
    void setOutput(const QString &output);
    void setDetected(const QString &detected);
    void setStatus(const QString &status);
    void setBusy(bool busy);

    platform::IClipboard *m_clipboard;
    QUrl m_base;
    QNetworkAccessManager m_network;
    QString m_input;
    QString m_output;
    QString m_source = QStringLiteral("auto");
    QString m_target = QStringLiteral("es");
    QString m_detected;
    QString m_status = QStringLiteral("Google Translate");
    bool m_busy = false;
    // Only the reply to the latest request is applied.
    quint64 m_latestRequest = 0;
};
