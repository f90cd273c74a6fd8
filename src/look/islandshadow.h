#pragma once

#include <QColor>
#include <QImage>
#include <QQuickPaintedItem>
#include <QtQml/qqmlregistration.h>

// A soft shadow under a rounded rectangle, drawn with the painter so that it
// shows with every scene-graph renderer (the software one has no shader
// effects). The item covers the whole shadow: the shape it belongs to is the
// item's rectangle shrunk by blurRadius on every side. The blurred corner is
// made once per radius and stretched along the edges, so a resize costs no
// new blur.
class IslandShadow : public QQuickPaintedItem {
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

    void paint(QPainter *painter) override;

    // The nine-patch source: a blurred rounded square whose corners are
    // cornerRadius + blur wide. Exposed for tests.
    static QImage patch(int cornerRadius, int blur, const QColor &color);

signals:
    void cornerRadiusChanged();
    void blurRadiusChanged();
    void colorChanged();

private:
    double m_cornerRadius = 0;
    double m_blurRadius = 10;
    QColor m_color = QColor(0, 0, 0, 102);
    QImage m_patch;
    int m_patchRadius = -1;
};
