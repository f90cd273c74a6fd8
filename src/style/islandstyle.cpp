#include "style/islandstyle.h"

#include <cmath>

SpringSpec SpringSpec::make(double response, double dampingFraction, double blend)
{
    SpringSpec s;
    s.response = response;
    s.dampingFraction = dampingFraction;
    s.blend = blend;
    // In the terms of Qt Quick's SpringAnimation, which steps
    // v += spring·Δ − damping·v and then x += v·0.016 every 16 ms.
    constexpr double step = 0.016;
    const double omega = 2 * M_PI / response;
    s.spring = omega * omega * step;
    s.damping = 2 * dampingFraction * omega * step;
    return s;
}

const SpringSpec IslandStyle::state = SpringSpec::make(0.36, 0.84, 0.1);
const SpringSpec IslandStyle::quick = SpringSpec::make(0.26, 0.78);
const SpringSpec IslandStyle::press = SpringSpec::make(0.2, 0.68);
const SpringSpec IslandStyle::gamePage = SpringSpec::make(0.32, 0.88);
const SpringSpec IslandStyle::list = SpringSpec::make(0.36, 0.84, 0.1);
const SpringSpec IslandStyle::memoList = SpringSpec::make(0.32, 0.88);

IslandStyle::IslandStyle(QObject *parent)
    : QObject(parent),
      m_roundedFamily(QStringLiteral("Quicksand")),
      m_digitsFamily(QStringLiteral("DejaVu Sans")),
      m_monoFamily(QStringLiteral("DejaVu Sans Mono"))
{
}
