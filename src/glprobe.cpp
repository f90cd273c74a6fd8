#include "app/displayguard.h"
#include "app/rendererchoice.h"

#include <QGuiApplication>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <sys/prctl.h>

// Prints the name of the OpenGL renderer this display offers, for the island
// to choose how it draws without loading OpenGL itself. Exits 1 when no
// OpenGL context can be made.
int main(int argc, char **argv)
{
    // Asked for by the island as it starts: it goes when the island goes.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    // The display may go away while it asks (the session ends as the island
    // starts): then one line and status 1, never a core.
    DisplayGuard::watch("pavlet-gl-probe");
    QGuiApplication app(argc, argv);
    DisplayGuard::connected();
    const QString name = RendererChoice::askOpenGl();
    if (name.isEmpty()) {
        // No OpenGL, or no display any more: the line says which.
        DisplayGuard::leaveIfGone();
        return 1;
    }
    std::puts(name.toLatin1().constData());
    std::fflush(stdout);
    // Leaves without tearing OpenGL down: nobody waits for that.
    std::_Exit(0);
}
