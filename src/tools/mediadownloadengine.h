#pragma once

#include "tools/toolfolders.h"
#include "tools/tooltypes.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>
#include <optional>

namespace platform {
class IProcessRunner;
class IToolLocator;
struct ProcessResult;
} // namespace platform

// Saves a pasted video or music link into Downloads by running the user's
// own yt-dlp (and, for audio and MOV, ffmpeg through yt-dlp).
class MediaDownloadEngine : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("The island owns the download engines")
    Q_PROPERTY(Tools::MediaKind kind READ kind CONSTANT)
    Q_PROPERTY(QVariantList formats READ formatList CONSTANT)
    Q_PROPERTY(QString urlText READ urlText WRITE setUrlText NOTIFY urlTextChanged)
    Q_PROPERTY(QString status READ status NOTIFY statusChanged)
    Q_PROPERTY(bool running READ running NOTIFY runningChanged)
public:
    using Kind = Tools::MediaKind;
    using Format = Tools::MediaSaveFormat;

    MediaDownloadEngine(Kind kind, platform::IToolLocator *tools, platform::IProcessRunner *runner,
                        const QString &downloadsFolder = ToolFolders::downloads(), QObject *parent = nullptr);

    Kind kind() const { return m_kind; }
    QString urlText() const { return m_urlText; }
    void setUrlText(const QString &text);
    QString status() const { return m_status; }
    bool running() const { return m_running; }

    static QString note(Kind kind);
    static QString linkMessage(Kind kind);
    static QList<Format> formats(Kind kind);
    static QString label(Format format);
    static QString rawValue(Format format);
    static std::optional<Format> formatFromRaw(const QString &raw);
    static bool needsFfmpeg(Format format) { return format != Format::mp4; }
    static QStringList hosts(Kind kind);

    // The link to hand to yt-dlp, or none when text is not an acceptable
    // link for kind.
    static std::optional<QString> normalizedLink(const QString &text, Kind kind);
    // yt-dlp's arguments for one format, ending with "-o", template, link.
    static QStringList arguments(Format format, const QString &outputTemplate, const QString &link);
    // The status a failed run leaves: its last two non-empty output lines
    // joined by a space, cut to 140 characters.
    static QString failureText(const QString &output);

    Q_INVOKABLE void start(Tools::MediaSaveFormat format);
    // "MP4", "MP3", "MOV" for the card's menu.
    Q_INVOKABLE static QString formatLabel(Tools::MediaSaveFormat format) { return label(format); }

signals:
    void urlTextChanged();
    void statusChanged();
    void runningChanged();

private:
    QVariantList formatList() const;
    void finished(Format format, const platform::ProcessResult &result);
    void setStatus(const QString &status);
    void setRunning(bool running);

    Kind m_kind;
    platform::IToolLocator *m_tools;
    platform::IProcessRunner *m_runner;
    QString m_downloads;
    QString m_urlText;
    QString m_status;
    bool m_running = false;
};
