#include "look/islandshadow.h"

#include "core/alphablur.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

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
    AlphaBlur::blur(img, blur);
    AlphaBlur::tint(img, color);
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
