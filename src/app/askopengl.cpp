#include "app/rendererchoice.h"

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>

// Kept apart from the choice itself so that the small program that asks on
// the island's behalf links only Qt GUI.
namespace RendererChoice {

QString askOpenGl()
{
    QOpenGLContext context;
    if (!context.create())
        return QString();
    QOffscreenSurface surface;
    surface.setFormat(context.format());
    surface.create();
    if (!surface.isValid() || !context.makeCurrent(&surface))
        return QString();
    const auto *name = reinterpret_cast<const char *>(context.functions()->glGetString(GL_RENDERER));
    const QString renderer = name ? QString::fromLatin1(name) : QString();
    context.doneCurrent();
    return renderer;
}

} // namespace RendererChoice
