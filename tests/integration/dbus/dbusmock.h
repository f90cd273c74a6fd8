#pragma once

#include <QProcess>

// Whether Debian's python3-dbusmock can be run.
inline bool dbusmockInstalled()
{
    return QProcess::execute(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), QStringLiteral("import dbusmock")})
        == 0;
}
