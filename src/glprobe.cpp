#include "app/displayguard.h"
#include "app/rendererchoice.h"

#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>

// Prints the name of the OpenGL renderer this display offers, for the island
// to choose how it draws without loading OpenGL itself. Exits 1 when no
// OpenGL context can be made.
int main(int argc, char **argv)
{
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
