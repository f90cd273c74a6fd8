#include "core/alphablur.h"

#include <algorithm>
#include <vector>

namespace {
// One horizontal then vertical box blur of the alpha channel.
void boxBlur(QImage &img, int r)
{
    if (r <= 0)
        return;
    const int w = img.width(), h = img.height();
    std::vector<int> line(std::max(w, h));
    auto pass = [&](bool horizontal) {
        const int n = horizontal ? w : h, lines = horizontal ? h : w;
        for (int l = 0; l < lines; ++l) {
            auto at = [&](int i) -> QRgb & {
                return reinterpret_cast<QRgb *>(img.scanLine(horizontal ? l : i))[horizontal ? i : l];
            };
            for (int i = 0; i < n; ++i)
                line[i] = qAlpha(at(i));
            int sum = 0;
            for (int i = -r; i <= r; ++i)
                sum += (i >= 0 && i < n) ? line[i] : 0;
            for (int i = 0; i < n; ++i) {
                at(i) = qRgba(0, 0, 0, sum / (2 * r + 1));
                const int out = i - r, in = i + r + 1;
                sum += (in < n ? line[in] : 0) - (out >= 0 ? line[out] : 0);
            }
        }
    };
    pass(true);
    pass(false);
}
} // namespace

void AlphaBlur::blur(QImage &image, int radius)
{
    for (int i = 0; i < 3; ++i)
        boxBlur(image, std::max(1, radius / 3));
}

void AlphaBlur::tint(QImage &image, const QColor &color)
{
    const QRgb rgb = color.rgb();
    for (int y = 0; y < image.height(); ++y) {
        auto *row = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int a = qAlpha(row[x]) * color.alpha() / 255;
            row[x] = qPremultiply(qRgba(qRed(rgb), qGreen(rgb), qBlue(rgb), a));
        }
    }
}
