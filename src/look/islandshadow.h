#pragma once

#include <QColor>
#include <QImage>
#include <QQuickItem>
#include <QtQml/qqmlregistration.h>

// A soft shadow under a rounded rectangle, drawn from a blurred picture so
// that it shows with every scene-graph renderer (the software one has no
// shader effects). The item covers the whole shadow: the shape it belongs to
// is the item's rectangle shrunk by blurRadius on every side. The blurred
// corner is made once per radius and drawn as nine pieces whose edges and
// middle stretch, so a resize (every frame of the island's springs) moves
// nine rectangles and neither blurs nor paints anything again.
class IslandShadow : public QQuickItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(double cornerRadius READ cornerRadius WRITE setCornerRadius NOTIFY cornerRadiusChanged)
    Q_PROPERTY(double blurRadius READ blurRadius WRITE setBlurRadius NOTIFY blurRadiusChanged)
    Q_PROPERTY(QColor color READ color WRITE setColor NOTIFY colorChanged)
public:
    explicit IslandShadow(QQuickItem *parent = nullptr);

    double cornerRadius() const { return m_cornerRadius; }
    void setCornerRadius(double radius);
    double blurRadius() const { return m_blurRadius; }
    void setBlurRadius(double radius);
    QColor color() const { return m_color; }
    void setColor(const QColor &color);

    // The nine-patch source: a blurred rounded square whose corners are
    // cornerRadius + blur wide. Exposed for tests.
    static QImage patch(int cornerRadius, int blur, const QColor &color);

    // One piece of the nine: where it goes in the item and what part of the
    // patch it shows. Pieces with no room are left out.
    struct Piece {
        QRectF target;
        QRectF source;
    };
    // The pieces for an item of size, a patch of patchSide pixels made for
    // radius and blur. Exposed for tests.
    static QList<Piece> pieces(const QSizeF &size, int patchSide, int radius, int blur);

signals:
    void cornerRadiusChanged();
    void blurRadiusChanged();
    void colorChanged();

protected:
    QSGNode *updatePaintNode(QSGNode *old, UpdatePaintNodeData *) override;
    void geometryChange(const QRectF &newGeometry, const QRectF &oldGeometry) override;

private:
    // The corner radius the shadow is drawn with at the item's size.
    int effectiveRadius() const;

    double m_cornerRadius = 0;
    double m_blurRadius = 10;
    QColor m_color = QColor(0, 0, 0, 102);
    QImage m_patch;
    int m_patchRadius = -1;
};
