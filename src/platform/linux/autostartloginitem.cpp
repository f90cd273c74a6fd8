#include "platform/linux/autostartloginitem.h"

#include "core/atomicfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTextStream>

namespace platform {

AutostartLoginItem::AutostartLoginItem(const QString &configDir, const QString &command)
    : m_configDir(configDir.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
                                      : configDir),
      m_command(command)
{
}

QString AutostartLoginItem::entryPath() const
{
    return m_configDir + QStringLiteral("/autostart/pavlet.desktop");
}

platform::ILoginItem::Status AutostartLoginItem::status() const
{
    QFile file(entryPath());
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return Status::NotRegistered;
    QTextStream in(&file);
    bool inEntry = false;
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.startsWith(QLatin1Char('[')))
            inEntry = line == QLatin1String("[Desktop Entry]");
        else if (inEntry && line.section(QLatin1Char('='), 0, 0).trimmed() == QLatin1String("Hidden")
                 && line.section(QLatin1Char('='), 1).trimmed().compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
            return Status::NotRegistered;
    }
    return Status::Enabled;
}

bool AutostartLoginItem::registerItem(QString *error)
{
    QString command = m_command;
    if (command.isEmpty())
        command = QCoreApplication::applicationFilePath();
    // Desktop-entry Exec quoting: wrap in quotes, escape the reserved characters.
    QString quoted = command;
    quoted.replace(QLatin1Char('\\'), QLatin1String("\\\\"))
        .replace(QLatin1Char('"'), QLatin1String("\\\""))
        .replace(QLatin1Char('`'), QLatin1String("\\`"))
        .replace(QLatin1Char('$'), QLatin1String("\\$"));
    if (!QDir().mkpath(m_configDir + QStringLiteral("/autostart"))) {
        if (error)
            *error = QStringLiteral("Cannot create the autostart folder");
        return false;
    }
    const QByteArray text = QStringLiteral("[Desktop Entry]\n"
                                           "Type=Application\n"
                                           "Name=Pavlet\n"
                                           "Comment=The island at the top of the screen\n"
                                           "Exec=\"%1\"\n"
                                           "Terminal=false\n"
                                           "X-GNOME-Autostart-enabled=true\n")
                                .arg(quoted)
                                .toUtf8();
    return AtomicFile::write(entryPath(), text, error);
}

bool AutostartLoginItem::unregisterItem(QString *error)
{
    QFile file(entryPath());
    if (!file.exists())
        return true;
    if (!file.remove()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace platform
