#pragma once

#include <QColor>
#include <QImage>

// Soft shadows drawn with the painter, for every scene-graph renderer (the
// software one has no shader effects).
namespace AlphaBlur {
// Blurs the alpha of a premultiplied ARGB image in place: three box blurs,
// close to a Gaussian of about half the radius. The colour is dropped.
void blur(QImage &image, int radius);
// Gives every pixel the colour, its alpha scaled by the colour's.
void tint(QImage &image, const QColor &color);
} // namespace AlphaBlur
