#pragma once

#include <QColor>
#include <QObject>
#include <QVariantAnimation>
#include <QtQml/qqmlregistration.h>

class QJSEngine;
class QQmlEngine;

// The custom accent as the views show it. The shell feeds it the
// setting (on or off, and the colour); the views read it through
// IslandPalette.accent(), which lays the shown colour weight of the way over
// the palette colour it is given. A change fades over FadeMs, ease-in-out,
// on Qt's animation driver (the program's one driver), from whatever is
// shown at that moment.
class Accent : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(QColor color READ color NOTIFY shownChanged)
    // 0: the palette's own colours; 1: the custom accent in full.
    Q_PROPERTY(double weight READ weight NOTIFY shownChanged)

public:
    static constexpr int FadeMs = 150;

    // No default: QML would make a singleton of its own with it instead of
    // asking create() for the engine's one.
    explicit Accent(QObject *parent);

    // The engine's one accent, made on first use and owned by the engine.
    static Accent *forEngine(QQmlEngine *engine);
    static Accent *create(QQmlEngine *qmlEngine, QJSEngine *jsEngine);

    // The setting. The first call shows it at once; a later change fades.
    void show(bool on, const QColor &color);

    QColor color() const { return m_color; }
    double weight() const { return m_weight; }
    bool fading() const { return m_fade.state() == QAbstractAnimation::Running; }
    // color as the views show it now.
    QColor resolve(const QColor &color) const;

signals:
    void shownChanged();

private:
    void step(double progress);

    QVariantAnimation m_fade;
    bool m_fed = false;
    QColor m_color, m_fromColor, m_toColor;
    double m_weight = 0, m_fromWeight = 0, m_toWeight = 0;
};
