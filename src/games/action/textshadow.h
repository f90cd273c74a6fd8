#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QQuickPaintedItem>
#include <QtQml/qqmlregistration.h>

// The soft shadow of a line of text: the text drawn in the shadow's colour
// and blurred by blurRadius. The item is as large as the text plus the blur
// on every side; a view places it so that its text lines up with the
// label's, moved by the shadow's offset. The blurred picture is made again
// only when the text, font, colour or radius change.
class TextShadow : public QQuickPaintedItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString text READ text WRITE setText NOTIFY changed)
    Q_PROPERTY(QFont font READ font WRITE setFont NOTIFY changed)
    Q_PROPERTY(QColor color READ color WRITE setColor NOTIFY changed)
    Q_PROPERTY(double blurRadius READ blurRadius WRITE setBlurRadius NOTIFY changed)
public:
    explicit TextShadow(QQuickItem *parent = nullptr);

    QString text() const { return m_text; }
    void setText(const QString &text);
    QFont font() const { return m_font; }
    void setFont(const QFont &font);
    QColor color() const { return m_color; }
    void setColor(const QColor &color);
    double blurRadius() const { return m_blurRadius; }
    void setBlurRadius(double radius);

    void paint(QPainter *painter) override;

    // The blurred picture at the given scale; exposed for tests.
    QImage picture(double scale) const;

signals:
    void changed();

private:
    void refresh();

    QString m_text;
    QFont m_font;
    QColor m_color = QColor(0, 0, 0, 140);
    double m_blurRadius = 8;
    QImage m_picture;
};
