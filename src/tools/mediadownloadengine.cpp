#include "tools/mediadownloadengine.h"

#include "platform/processrunner.h"

#include <QDir>
#include <QPointer>
#include <QTextBoundaryFinder>
#include <QUrl>

MediaDownloadEngine::MediaDownloadEngine(Kind kind, platform::IToolLocator *tools, platform::IProcessRunner *runner,
                                         const QString &downloadsFolder, QObject *parent)
    : QObject(parent), m_kind(kind), m_tools(tools), m_runner(runner), m_downloads(downloadsFolder),
      m_status(note(kind))
{
}

QString MediaDownloadEngine::note(Kind kind)
{
    return kind == Kind::youtube ? QStringLiteral("YouTube links only. You own the rights. Needs yt-dlp.")
                                 : QStringLiteral("Not an official Spotify download. Needs yt-dlp and ffmpeg.");
}

QString MediaDownloadEngine::linkMessage(Kind kind)
{
    return kind == Kind::youtube ? QStringLiteral("Paste an https YouTube link")
                                 : QStringLiteral("Paste an https Spotify link");
}

QList<MediaDownloadEngine::Format> MediaDownloadEngine::formats(Kind kind)
{
    if (kind == Kind::youtube)
        return {Format::mp4, Format::mp3, Format::mov};
    return {Format::mp3};
}

QString MediaDownloadEngine::label(Format format)
{
    return rawValue(format).toUpper();
}

QString MediaDownloadEngine::rawValue(Format format)
{
    switch (format) {
    case Format::mp4:
        return QStringLiteral("mp4");
    case Format::mp3:
        return QStringLiteral("mp3");
    case Format::mov:
        return QStringLiteral("mov");
    }
    return {};
}

std::optional<MediaDownloadEngine::Format> MediaDownloadEngine::formatFromRaw(const QString &raw)
{
    for (Format f : {Format::mp4, Format::mp3, Format::mov}) {
        if (rawValue(f) == raw)
            return f;
    }
    return std::nullopt;
}

QStringList MediaDownloadEngine::hosts(Kind kind)
{
    if (kind == Kind::youtube)
        return {QStringLiteral("youtube.com"),       QStringLiteral("www.youtube.com"),
                QStringLiteral("m.youtube.com"),     QStringLiteral("music.youtube.com"),
                QStringLiteral("youtu.be"),          QStringLiteral("www.youtu.be")};
    return {QStringLiteral("spotify.com"), QStringLiteral("www.spotify.com"), QStringLiteral("open.spotify.com")};
}

QVariantList MediaDownloadEngine::formatList() const
{
    QVariantList list;
    for (Format f : formats(m_kind))
        list.append(int(f));
    return list;
}

std::optional<QString> MediaDownloadEngine::normalizedLink(const QString &raw, Kind kind)
{
    const QString text = raw.trimmed();
    if (text.isEmpty() || text.startsWith(u'-'))
        return std::nullopt;
    for (QChar c : text) {
        switch (c.unicode()) {
        case u'\n':
        case u'\v':
        case u'\f':
        case u'\r':
        case 0x85:
        case 0x2028:
        case 0x2029:
        case u' ':
        case u'\t':
            return std::nullopt;
        default:
            break;
        }
    }

    if (kind == Kind::spotify && text.toLower().startsWith(QStringLiteral("spotify:"))) {
        const QString rest = text.mid(8);
        const qsizetype colon = rest.indexOf(u':');
        if (colon < 0)
            return std::nullopt;
        const QString type = rest.left(colon).toLower();
        const QString id = rest.mid(colon + 1);
        static const QStringList types = {QStringLiteral("track"), QStringLiteral("album"), QStringLiteral("playlist"),
                                          QStringLiteral("episode"), QStringLiteral("show")};
        if (!types.contains(type) || id.isEmpty())
            return std::nullopt;
        for (char32_t ch : id.toUcs4()) {
            if (!QChar::isLetterOrNumber(ch))
                return std::nullopt;
        }
        return QStringLiteral("spotify:") + type + u':' + id;
    }

    const QUrl url(text, QUrl::StrictMode);
    if (!url.isValid() || url.scheme().toLower() != u"https" || url.host().isEmpty())
        return std::nullopt;
    if (!hosts(kind).contains(url.host().toLower()))
        return std::nullopt;
    return QString::fromUtf8(url.toEncoded());
}

QStringList MediaDownloadEngine::arguments(Format format, const QString &outputTemplate, const QString &link)
{
    QStringList args;
    switch (format) {
    case Format::mp4:
        args = {QStringLiteral("-f"), QStringLiteral("bv*[ext=mp4]+ba[ext=m4a]/b[ext=mp4]/b"),
                QStringLiteral("--merge-output-format"), QStringLiteral("mp4")};
        break;
    case Format::mp3:
        args = {QStringLiteral("-x"), QStringLiteral("--audio-format"), QStringLiteral("mp3")};
        break;
    case Format::mov:
        args = {QStringLiteral("-f"), QStringLiteral("bv*[vcodec^=avc]+ba[acodec^=mp4a]/bv*[ext=mp4]+ba[ext=m4a]/bv*+ba/b"),
                QStringLiteral("--merge-output-format"), QStringLiteral("mov"), QStringLiteral("--remux-video"),
                QStringLiteral("mov")};
        break;
    }
    return args << QStringLiteral("-o") << outputTemplate << link;
}

QString MediaDownloadEngine::failureText(const QString &output)
{
    const QStringList lines = output.split(u'\n', Qt::SkipEmptyParts);
    const QString joined = lines.mid(std::max<qsizetype>(0, lines.size() - 2)).join(u' ');
    // Cut at 140 user-perceived characters, never inside one.
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, joined);
    int count = 0;
    qsizetype end = joined.size();
    while (finder.toNextBoundary() >= 0) {
        if (++count == 140) {
            end = finder.position();
            break;
        }
    }
    const QString cut = joined.left(end);
    return cut.isEmpty() ? QStringLiteral("Download failed") : cut;
}

void MediaDownloadEngine::setUrlText(const QString &text)
{
    if (m_urlText != text) {
        m_urlText = text;
        emit urlTextChanged();
    }
}

void MediaDownloadEngine::start(Tools::MediaSaveFormat format)
{
    const QString trimmed = m_urlText.trimmed();
    if (trimmed.isEmpty()) {
        setStatus(QStringLiteral("Paste a link first"));
        return;
    }
    const auto link = normalizedLink(trimmed, m_kind);
    if (!link) {
        setStatus(linkMessage(m_kind));
        return;
    }
    if (!formats(m_kind).contains(format))
        return;
    const QString ytdlp = m_tools->find(QStringLiteral("yt-dlp"));
    if (ytdlp.isEmpty()) {
        setStatus(QStringLiteral("Install yt-dlp with apt, then try again"));
        return;
    }
    if (needsFfmpeg(format) && m_tools->find(QStringLiteral("ffmpeg")).isEmpty()) {
        setStatus(QStringLiteral("Install ffmpeg too (apt install ffmpeg)"));
        return;
    }
    setRunning(true);
    setStatus(QStringLiteral("Downloading ") + label(format) + QStringLiteral("\u2026"));

    const QString outputTemplate = QDir(m_downloads).filePath(QStringLiteral("%(title)s.%(ext)s"));
    QPointer<MediaDownloadEngine> self(this);
    m_runner->run(ytdlp, arguments(format, outputTemplate, *link),
                  [self, format](const platform::ProcessResult &result) {
                      if (self)
                          self->finished(format, result);
                  });
}

void MediaDownloadEngine::finished(Format format, const platform::ProcessResult &result)
{
    setRunning(false);
    setStatus(result.status == 0 ? QStringLiteral("Saved ") + label(format) + QStringLiteral(" to Downloads")
                                 : failureText(result.output));
}

void MediaDownloadEngine::setStatus(const QString &status)
{
    if (m_status != status) {
        m_status = status;
        emit statusChanged();
    }
}

void MediaDownloadEngine::setRunning(bool running)
{
    if (m_running != running) {
        m_running = running;
        emit runningChanged();
    }
}
