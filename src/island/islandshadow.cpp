#include "island/islandshadow.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
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

IslandShadow::IslandShadow(QQuickItem *parent) : QQuickPaintedItem(parent)
{
    setAntialiasing(true);
}

void IslandShadow::setCornerRadius(double radius)
{
    if (radius == m_cornerRadius)
        return;
    m_cornerRadius = radius;
    emit cornerRadiusChanged();
    update();
}

void IslandShadow::setBlurRadius(double radius)
{
    if (radius == m_blurRadius)
        return;
    m_blurRadius = radius;
    m_patchRadius = -1;
    emit blurRadiusChanged();
    update();
}

void IslandShadow::setColor(const QColor &color)
{
    if (color == m_color)
        return;
    m_color = color;
    m_patchRadius = -1;
    emit colorChanged();
    update();
}

QImage IslandShadow::patch(int cornerRadius, int blur, const QColor &color)
{
    const int core = 2 * cornerRadius + 4;
    const int side = core + 2 * blur;
    QImage img(side, side, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    {
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        QPainterPath path;
        path.addRoundedRect(QRectF(blur, blur, core, core), cornerRadius, cornerRadius);
        p.fillPath(path, Qt::black);
    }
    // Three box blurs come close to a Gaussian of about half the radius.
    for (int i = 0; i < 3; ++i)
        boxBlur(img, std::max(1, blur / 3));
    // Colour it; the alpha carries the shape.
    const QRgb tint = color.rgb();
    for (int y = 0; y < side; ++y) {
        auto *row = reinterpret_cast<QRgb *>(img.scanLine(y));
        for (int x = 0; x < side; ++x) {
            const int a = qAlpha(row[x]) * color.alpha() / 255;
            row[x] = qPremultiply(qRgba(qRed(tint), qGreen(tint), qBlue(tint), a));
        }
    }
    return img;
}

void IslandShadow::paint(QPainter *painter)
{
    const int blur = int(std::round(m_blurRadius));
    const double inner = std::min(width(), height()) - 2 * blur;
    if (inner <= 0)
        return;
    const int radius = int(std::round(std::clamp(m_cornerRadius, 0.0, inner / 2)));
    if (radius != m_patchRadius || m_patch.isNull()) {
        m_patch = patch(radius, blur, m_color);
        m_patchRadius = radius;
    }
    // Nine pieces: the corners as they are, the edges and the middle stretched.
    const int m = blur + radius + 1;
    const int s = m_patch.width();
    const QRectF r = boundingRect();
    const double xs[] = {r.left(), r.left() + m, r.right() - m, r.right()};
    const double ys[] = {r.top(), r.top() + m, r.bottom() - m, r.bottom()};
    const int sx[] = {0, m, s - m, s};
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            const QRectF target(QPointF(xs[col], ys[row]), QPointF(xs[col + 1], ys[row + 1]));
            if (target.width() <= 0 || target.height() <= 0)
                continue;
            painter->drawImage(target, m_patch, QRectF(QPointF(sx[col], sx[row]), QPointF(sx[col + 1], sx[row + 1])));
        }
    }
}
