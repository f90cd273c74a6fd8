#pragma once

#include <QString>

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

// Asks OpenGL for its renderer and applies the choice; call after the
// application object exists and before the first Qt Quick window. Logs the
// choice once.
void apply();

} // namespace RendererChoice
