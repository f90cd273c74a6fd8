#include "platform/linux/desktopapplauncher.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace platform {

namespace {

QStringList envDirs(const char *name, const QString &fallback)
{
    const QString value = qEnvironmentVariable(name);
    QStringList dirs = (value.isEmpty() ? fallback : value).split(QLatin1Char(':'), Qt::SkipEmptyParts);
    return dirs;
}

// The value of key in [group] of a desktop-entry style file.
QString iniValue(const QString &path, const QString &group, const QString &key)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    QString current;
    for (const QByteArray &raw : file.read(256 * 1024).split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            current = line.mid(1, line.size() - 2);
            continue;
        }
        if (current != group)
            continue;
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq > 0 && line.left(eq).trimmed() == key)
            return line.mid(eq + 1).trimmed();
    }
    return QString();
}

} // namespace

DesktopAppLauncher::DesktopAppLauncher()
    : DesktopAppLauncher(Options{})
{
}

DesktopAppLauncher::DesktopAppLauncher(Options options)
    : m_options(std::move(options))
{
    if (!m_options.openUrl)
        m_options.openUrl = [](const QUrl &url) { return QDesktopServices::openUrl(url); };
    if (!m_options.startProgram)
        m_options.startProgram = [](const QString &program, const QStringList &args) {
            return QProcess::startDetached(program, args);
        };
    const QString home = QDir::homePath();
    if (m_options.dataDirs.isEmpty()) {
        m_options.dataDirs = envDirs("XDG_DATA_HOME", home + QStringLiteral("/.local/share"))
            + envDirs("XDG_DATA_DIRS", QStringLiteral("/usr/local/share:/usr/share"));
    }
    if (m_options.mimeappsDirs.isEmpty()) {
        m_options.mimeappsDirs = envDirs("XDG_CONFIG_HOME", home + QStringLiteral("/.config"))
            + envDirs("XDG_CONFIG_DIRS", QStringLiteral("/etc/xdg"));
        for (const QString &data : std::as_const(m_options.dataDirs))
            m_options.mimeappsDirs << data + QStringLiteral("/applications");
    }
    if (m_options.homePath.isEmpty())
        m_options.homePath = home;
}

bool DesktopAppLauncher::openApplication(const QString &bundleIdentifier)
{
    if (bundleIdentifier == QLatin1String("com.apple.finder"))
        return m_options.openUrl(QUrl::fromLocalFile(m_options.homePath));
    if (bundleIdentifier == QLatin1String("com.apple.Safari"))
        return openBrowser();
    return false;
}

bool DesktopAppLauncher::openUrl(const QUrl &url)
{
    if (!url.isValid())
        return false;
    return m_options.openUrl(url);
}

QString DesktopAppLauncher::defaultBrowserEntry() const
{
    const QString group = QStringLiteral("Default Applications");
    for (const QString &type : {QStringLiteral("x-scheme-handler/https"), QStringLiteral("x-scheme-handler/http")}) {
        for (const QString &dir : m_options.mimeappsDirs) {
            const QString value = iniValue(dir + QStringLiteral("/mimeapps.list"), group, type);
            for (const QString &id : value.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
                for (const QString &data : m_options.dataDirs) {
                    const QString path = data + QStringLiteral("/applications/") + id.trimmed();
                    if (QFileInfo::exists(path))
                        return path;
                }
            }
        }
    }
    return QString();
}

QStringList DesktopAppLauncher::execCommand(const QString &desktopFile)
{
    const QString exec = iniValue(desktopFile, QStringLiteral("Desktop Entry"), QStringLiteral("Exec"));
    QStringList out;
    for (QString arg : QProcess::splitCommand(exec)) {
        // Field codes stand for files or addresses; there are none to pass.
        if (arg.size() == 2 && arg.front() == QLatin1Char('%') && arg.back() != QLatin1Char('%'))
            continue;
        arg.replace(QStringLiteral("%%"), QStringLiteral("%"));
        out << arg;
    }
    return out;
}

bool DesktopAppLauncher::openBrowser()
{
    const QString entry = defaultBrowserEntry();
    if (!entry.isEmpty()) {
        const QStringList command = execCommand(entry);
        if (!command.isEmpty() && m_options.startProgram(command.front(), command.mid(1)))
            return true;
    }
    // Debian's choice of browser for the whole system.
    const QString fallback = QStandardPaths::findExecutable(QStringLiteral("x-www-browser"));
    return !fallback.isEmpty() && m_options.startProgram(fallback, {});
}

} // namespace platform
