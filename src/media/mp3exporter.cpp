#include "media/mp3exporter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextBoundaryFinder>

Mp3Exporter::Mp3Exporter(platform::IToolLocator &tools, platform::IProcessRunner &runner, const QString &folder,
                         int timeoutMs)
    : m_tools(tools)
    , m_runner(runner)
    , m_folder(folder)
    , m_timeoutMs(timeoutMs)
{
}

QString Mp3Exporter::cleanName(const QString &name)
{
    QString clean = name.trimmed();
    clean.replace(QLatin1Char('/'), QLatin1Char('-'));
    clean.replace(QLatin1Char(':'), QLatin1Char('-'));
    return clean.isEmpty() ? QStringLiteral("Voice memo") : clean;
}

QString Mp3Exporter::fitName(const QString &base, const QString &tail)
{
    const qsizetype budget = MaxNameBytes - tail.toUtf8().size();
    if (base.toUtf8().size() <= budget)
        return base;
    QTextBoundaryFinder characters(QTextBoundaryFinder::Grapheme, base);
    qsizetype fit = 0;
    qsizetype bytes = 0;
    for (qsizetype at = characters.toNextBoundary(); at != -1; at = characters.toNextBoundary()) {
        bytes += QStringView(base).mid(fit, at - fit).toUtf8().size();
        if (bytes > budget)
            break;
        fit = at;
    }
    QString cut = base.left(fit);
    while (!cut.isEmpty() && cut.back().isSpace())
        cut.chop(1);
    return cut;
}

QString Mp3Exporter::ffmpegPath() const
{
    return m_tools.find(QStringLiteral("ffmpeg"));
}

QString Mp3Exporter::reserveDestination(const QString &base, const QString &ext) const
{
    QDir().mkpath(m_folder);
    const QDir dir(m_folder);
    for (int n = 1; n < 10000; ++n) {
        const QString tail = n == 1 ? QStringLiteral(".%1").arg(ext) : QStringLiteral(" %1.%2").arg(n).arg(ext);
        const QString name = fitName(base, tail) + tail;
        const QString path = dir.filePath(name);
        if (QFileInfo::exists(path))
            continue;
        QFile file(path);
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return path;
        if (!QFileInfo::exists(path))
            return {}; // the folder refuses new files
    }
    return {};
}

void Mp3Exporter::convert(const QString &input, const QString &output, std::function<void(bool)> done)
{
    const QString tool = ffmpegPath();
    auto fail = [output, done] {
        QFile::remove(output);
        done(false);
    };
    if (tool.isEmpty()) {
        fail();
        return;
    }
    auto converted = [output] { return QFileInfo(output).size() > 0; };
    auto secondTry = [runner = &m_runner, timeoutMs = m_timeoutMs, tool, input, output, converted, fail, done] {
        QFile::resize(output, 0); // keep the name claimed, drop what the first run left
        runner->run(tool, {QStringLiteral("-y"), QStringLiteral("-i"), input, output}, timeoutMs,
                     [converted, fail, done](const platform::ProcessResult &result) {
                         if (result.status == 0 && converted())
                             done(true);
                         else
                             fail();
                     });
    };
    m_runner.run(tool,
                 {QStringLiteral("-y"), QStringLiteral("-i"), input, QStringLiteral("-codec:a"),
                  QStringLiteral("libmp3lame"), QStringLiteral("-q:a"), QStringLiteral("4"), output},
                 m_timeoutMs, [converted, secondTry, done](const platform::ProcessResult &result) {
                     if (result.status == 0 && converted())
                         done(true);
                     else
                         secondTry();
                 });
}
