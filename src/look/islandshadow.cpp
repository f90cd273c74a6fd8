#include "look/islandshadow.h"

#include "core/alphablur.h"

#include <QPainter>
#include <QPainterPath>
#include <QQuickWindow>
#include <QSGImageNode>
#include <QSGTexture>

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

// The shadow's nodes: nine image nodes over one texture, which this node
// owns, so that a new patch replaces the texture of all nine at once.
class ShadowNode : public QSGNode {
public:
    void setTexture(std::unique_ptr<QSGTexture> texture)
    {
        for (QSGNode *n = firstChild(); n; n = n->nextSibling())
            static_cast<QSGImageNode *>(n)->setTexture(texture.get());
        m_texture = std::move(texture);
    }
    QSGTexture *texture() const { return m_texture.get(); }

private:
    std::unique_ptr<QSGTexture> m_texture;
};

} // namespace

IslandShadow::IslandShadow(QQuickItem *parent) : QQuickItem(parent)
{
    setFlag(ItemHasContents);
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

void IslandShadow::geometryChange(const QRectF &newGeometry, const QRectF &oldGeometry)
{
    QQuickItem::geometryChange(newGeometry, oldGeometry);
    if (newGeometry.size() != oldGeometry.size())
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

QList<IslandShadow::Piece> IslandShadow::pieces(const QSizeF &size, int patchSide, int radius, int blur)
{
    // Nine pieces: the corners as they are, the edges and the middle
    // stretched. An item too small for whole corners shares its length
    // between the two ends.
    const double m = blur + radius + 1;
    const double mx = std::min(m, size.width() / 2);
    const double my = std::min(m, size.height() / 2);
    const double xs[] = {0, mx, size.width() - mx, size.width()};
    const double ys[] = {0, my, size.height() - my, size.height()};
    const double s = patchSide;
    const double sx[] = {0, m, s - m, s};
    QList<Piece> out;
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            const QRectF target(QPointF(xs[col], ys[row]), QPointF(xs[col + 1], ys[row + 1]));
            if (target.width() <= 0 || target.height() <= 0)
                continue;
            out.append({target, QRectF(QPointF(sx[col], sx[row]), QPointF(sx[col + 1], sx[row + 1]))});
        }
    }
    return out;
}

int IslandShadow::effectiveRadius() const
{
    const int blur = int(std::round(m_blurRadius));
    const double inner = std::min(width(), height()) - 2 * blur;
    return int(std::round(std::clamp(m_cornerRadius, 0.0, std::max(inner, 0.0) / 2)));
}

QSGNode *IslandShadow::updatePaintNode(QSGNode *old, UpdatePaintNodeData *)
{
    auto *node = static_cast<ShadowNode *>(old);
    const int blur = int(std::round(m_blurRadius));
    if (!window() || width() - 2 * blur <= 0 || height() - 2 * blur <= 0) {
        delete node;
        return nullptr;
    }
    if (!node) {
        node = new ShadowNode;
        for (int i = 0; i < 9; ++i) {
            QSGImageNode *piece = window()->createImageNode();
            piece->setFiltering(QSGTexture::Linear);
            piece->setOwnsTexture(false);
            node->appendChildNode(piece);
        }
    }
    const int radius = effectiveRadius();
    if (radius != m_patchRadius || m_patch.isNull() || !node->texture()) {
        if (radius != m_patchRadius || m_patch.isNull()) {
            m_patch = patch(radius, blur, m_color);
            m_patchRadius = radius;
        }
        node->setTexture(std::unique_ptr<QSGTexture>(window()->createTextureFromImage(m_patch)));
    }
    const QList<Piece> parts = pieces(size(), m_patch.width(), radius, blur);
    int i = 0;
    for (QSGNode *n = node->firstChild(); n; n = n->nextSibling(), ++i) {
        auto *piece = static_cast<QSGImageNode *>(n);
        // Pieces with no room this time show nothing.
        const Piece p = i < parts.size() ? parts.at(i) : Piece{};
        piece->setRect(p.target);
        piece->setSourceRect(p.source);
    }
    return node;
}
