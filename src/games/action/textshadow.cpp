#include "games/action/textshadow.h"

#include "core/alphablur.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QQuickWindow>

#include <cmath>

TextShadow::TextShadow(QQuickItem *parent) : QQuickPaintedItem(parent)
{
    refresh();
}

void TextShadow::setText(const QString &text)
{
    if (text == m_text)
        return;
    m_text = text;
    refresh();
}

void TextShadow::setFont(const QFont &font)
{
    if (font == m_font)
        return;
    m_font = font;
    refresh();
}

void TextShadow::setColor(const QColor &color)
{
    if (color == m_color)
        return;
    m_color = color;
    refresh();
}

void TextShadow::setBlurRadius(double radius)
{
    if (radius == m_blurRadius || !(radius >= 0))
        return;
    m_blurRadius = radius;
    refresh();
}

void TextShadow::refresh()
{
    const QFontMetricsF metrics(m_font);
    const double blur = std::ceil(m_blurRadius);
    setImplicitSize(metrics.horizontalAdvance(m_text) + 2 * blur, metrics.height() + 2 * blur);
    m_picture = QImage();
    emit changed();
    update();
}

QImage TextShadow::picture(double scale) const
{
    const double blur = std::ceil(m_blurRadius);
    const QSize size(int(std::ceil(implicitWidth() * scale)), int(std::ceil(implicitHeight() * scale)));
    if (size.isEmpty())
        return {};
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::TextAntialiasing);
        p.scale(scale, scale);
        p.setFont(m_font);
        p.setPen(Qt::black);
        p.drawText(QPointF(blur, blur + QFontMetricsF(m_font).ascent()), m_text);
    }
    AlphaBlur::blur(image, int(std::lround(m_blurRadius * scale)));
    AlphaBlur::tint(image, m_color);
    return image;
}

void TextShadow::paint(QPainter *painter)
{
    const double scale = window() ? window()->effectiveDevicePixelRatio() : 1.0;
    if (m_picture.isNull())
        m_picture = picture(scale);
    painter->drawImage(QRectF(0, 0, implicitWidth(), implicitHeight()), m_picture);
}
