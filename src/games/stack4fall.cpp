#include "games/stack4fall.h"

#include "core/clock.h"

#include <cmath>

void Stack4Fall::setEngine(Stack4Engine *engine)
{
    if (m_engine == engine)
        return;
    QObject::disconnect(m_connection);
    m_engine = engine;
    if (engine) {
        m_connection = connect(engine, &Stack4Engine::fallTravelChanged, this, [this] {
            begin(m_engine->fallTravel(), m_engine->fallAnimation(), nowSeconds());
        });
        begin(engine->fallTravel(), Stack4FallAnimation::none(), nowSeconds());
    }
    emit engineChanged();
}

double Stack4Fall::nowSeconds() const
{
    const Clock *clock = m_engine ? m_engine->clock() : nullptr;
    return clock ? clock->referenceSeconds() : 0.0;
}

void Stack4Fall::begin(double travel, const Stack4FallAnimation &animation, double t)
{
    m_from = offset(t);
    m_to = travel;
    m_start = t;
    m_animation = animation;
    ++m_revision;
    emit revisionChanged();
}

double Stack4Fall::offset(double t, int) const
{
    const double elapsed = std::max(0.0, t - m_start);
    if (m_animation.curve == QLatin1String("easeIn") && m_animation.duration > 0) {
        const double p = std::min(1.0, elapsed / m_animation.duration);
        return m_from + (m_to - m_from) * easeIn(p);
    }
    if (m_animation.curve == QLatin1String("spring") && m_animation.response > 0)
        return m_to + (m_from - m_to) * spring(m_animation.response, m_animation.damping, elapsed);
    return m_to;
}

double Stack4Fall::easeIn(double p)
{
    // The cubic Bézier (0.42, 0) (1, 1): solve x(s) = p for s, return y(s).
    p = std::clamp(p, 0.0, 1.0);
    auto bx = [](double s) { return 3 * (1 - s) * (1 - s) * s * 0.42 + 3 * (1 - s) * s * s + s * s * s; };
    auto by = [](double s) { return 3 * (1 - s) * s * s + s * s * s; };
    double lo = 0, hi = 1;
    for (int i = 0; i < 40; ++i) {
        const double mid = (lo + hi) / 2;
        (bx(mid) < p ? lo : hi) = mid;
    }
    return by((lo + hi) / 2);
}

double Stack4Fall::spring(double response, double damping, double t)
{
    const double omega = 2 * M_PI / response;
    const double zeta = std::clamp(damping, 0.0, 0.999);
    const double wd = omega * std::sqrt(1 - zeta * zeta);
    return std::exp(-zeta * omega * t) * (std::cos(wd * t) + zeta * omega / wd * std::sin(wd * t));
}
