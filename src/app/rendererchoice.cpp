#include "app/rendererchoice.h"

#include "core/logging.h"

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QQuickWindow>

namespace RendererChoice {

bool isSoftwareRasteriser(const QString &glRenderer)
{
    static const char *const software[] = {"llvmpipe", "softpipe", "swrast", "software rasterizer", "lavapipe"};
    const QString r = glRenderer.toLower();
    for (const char *name : software) {
        if (r.contains(QLatin1String(name)))
            return true;
    }
    return false;
}

bool prefersSoftware(const QString &quickBackend, const QString &rhiBackend, const QString &glRenderer)
{
    if (!quickBackend.isEmpty() || !rhiBackend.isEmpty())
        return false;
    return isSoftwareRasteriser(glRenderer);
}

namespace {

QString openGlRenderer()
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

} // namespace

void apply()
{
    const QString quick = qEnvironmentVariable("QT_QUICK_BACKEND");
    const QString rhi = qEnvironmentVariable("QSG_RHI_BACKEND");
    if (!quick.isEmpty() || !rhi.isEmpty())
        return;
    const QString renderer = openGlRenderer();
    if (prefersSoftware(quick, rhi, renderer)) {
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
        qCInfo(lcApp) << "OpenGL is a software rasteriser here (" << renderer
                      << "); drawing with Qt Quick's software renderer instead";
    }
}

} // namespace RendererChoice
