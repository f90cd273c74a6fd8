#pragma once

#include <QString>

#include <optional>

// Which Qt Quick renderer the program draws with. Where OpenGL is only a
// software rasteriser (llvmpipe, softpipe: virtual machines, remote
// desktops, machines without a driver), drawing through it costs several
// times what Qt Quick's own software renderer does, so that one is chosen;
// unless the user named a renderer (QT_QUICK_BACKEND or QSG_RHI_BACKEND).
namespace RendererChoice {

// Whether an OpenGL renderer string names a software rasteriser.
bool isSoftwareRasteriser(const QString &glRenderer);

// Whether to switch to the software renderer, given the environment's two
// variables and the OpenGL renderer string (empty: none could be had).
bool prefersSoftware(const QString &quickBackend, const QString &rhiBackend, const QString &glRenderer);

// Whether the user named a renderer (then nothing need be asked).
bool userNamedRenderer();

// OpenGL's renderer string, asked in this process (loading OpenGL here);
// empty when no context could be made.
QString askOpenGl();

// Applies the choice from the renderer string given (asked elsewhere), or
// else from one asked here; call after the application object exists and
// before the first Qt Quick window. Logs the choice once.
void apply(const std::optional<QString> &glRenderer = std::nullopt);

} // namespace RendererChoice
