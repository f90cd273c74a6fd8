#include "style/accent.h"

#include "style/palette.h"

#include <QJSEngine>
#include <QPointF>
#include <QQmlEngine>

namespace {
constexpr const char *accentProperty = "pavletAccent";

// Ease-in-out: the standard cubic curve through (0.42, 0) and (0.58, 1).
QEasingCurve easeInOut()
{
    QEasingCurve curve(QEasingCurve::BezierSpline);
    curve.addCubicBezierSegment(QPointF(0.42, 0), QPointF(0.58, 1), QPointF(1, 1));
    return curve;
}
} // namespace

Accent::Accent(QObject *parent)
    : QObject(parent)
    , m_color(Palette::skyColor)
    , m_fromColor(m_color)
    , m_toColor(m_color)
{
    m_fade.setStartValue(0.0);
    m_fade.setEndValue(1.0);
    m_fade.setDuration(FadeMs);
    m_fade.setEasingCurve(easeInOut());
    connect(&m_fade, &QVariantAnimation::valueChanged, this, [this](const QVariant &v) { step(v.toDouble()); });
}

Accent *Accent::forEngine(QQmlEngine *engine)
{
    if (!engine)
        return nullptr;
    if (auto *existing = qobject_cast<Accent *>(engine->property(accentProperty).value<QObject *>()))
        return existing;
    auto *made = new Accent(engine);
    engine->setProperty(accentProperty, QVariant::fromValue<QObject *>(made));
    return made;
}

Accent *Accent::create(QQmlEngine *qmlEngine, QJSEngine *)
{
    auto *accent = forEngine(qmlEngine);
    QJSEngine::setObjectOwnership(accent, QJSEngine::CppOwnership);
    return accent;
}

void Accent::show(bool on, const QColor &color)
{
    const double weight = on ? 1 : 0;
    const QColor rgb = color.toRgb();
    if (!m_fed) {
        m_fed = true;
        m_fromWeight = m_toWeight = weight;
        m_fromColor = m_toColor = rgb;
        step(1);
        return;
    }
    if (weight == m_toWeight && rgb == m_toColor)
        return;
    // From what is shown now, so a change in the middle of a fade turns
    // without a jump. A colour that does not show yet needs no fade.
    m_fade.stop();
    m_fromWeight = m_weight;
    m_fromColor = m_weight > 0 ? m_color : rgb;
    m_toWeight = weight;
    m_toColor = rgb;
    if (m_fromWeight == m_toWeight && m_fromColor == m_toColor)
        step(1);
    else
        m_fade.start();
}

void Accent::step(double progress)
{
    m_weight = m_fromWeight + (m_toWeight - m_fromWeight) * progress;
    m_color = Palette::mix(m_fromColor, m_toColor, progress);
    emit shownChanged();
}

QColor Accent::resolve(const QColor &color) const
{
    return Palette::mix(color, m_color, m_weight);
}
