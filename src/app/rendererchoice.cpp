#include "app/rendererchoice.h"

#include "core/logging.h"

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

bool userNamedRenderer()
{
    return !qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND") || !qEnvironmentVariableIsEmpty("QSG_RHI_BACKEND");
}

void apply(const std::optional<QString> &glRenderer)
{
    const QString quick = qEnvironmentVariable("QT_QUICK_BACKEND");
    const QString rhi = qEnvironmentVariable("QSG_RHI_BACKEND");
    if (!quick.isEmpty() || !rhi.isEmpty())
        return;
    const QString renderer = glRenderer ? *glRenderer : askOpenGl();
    if (prefersSoftware(quick, rhi, renderer)) {
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
        qCInfo(lcApp) << "OpenGL is a software rasteriser here (" << renderer
                      << "); drawing with Qt Quick's software renderer instead";
    }
}

} // namespace RendererChoice
