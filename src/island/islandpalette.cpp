#include "island/islandpalette.h"

#include "core/userdefaults.h"
#include "island/symbolicons.h"

#include <QQmlEngine>
#include <algorithm>

namespace {
QColor white(double opacity) { return QColor::fromRgbF(1, 1, 1, float(opacity)); }
QColor rgb(double r, double g, double b) { return QColor::fromRgbF(float(r), float(g), float(b)); }
const char *const defaultsProperty = "_pavletUserDefaults";
} // namespace

const QColor IslandPalette::textPrimaryColor = white(0.92);
const QColor IslandPalette::textSecondaryColor = white(0.58);
const QColor IslandPalette::textTertiaryColor = white(0.38);
const QColor IslandPalette::hairlineColor = white(0.08);
const QColor IslandPalette::fillColor = white(0.08);
const QColor IslandPalette::fillStrongColor = white(0.14);
const QColor IslandPalette::greenColor = rgb(0.12, 0.84, 0.38);
const QColor IslandPalette::pinkColor = rgb(0.98, 0.38, 0.50);
const QColor IslandPalette::redColor = rgb(0.94, 0.32, 0.32);
const QColor IslandPalette::amberColor = rgb(0.98, 0.76, 0.28);
const QColor IslandPalette::skyColor = rgb(0.47, 0.80, 0.98);
const QColor IslandPalette::mintColor = rgb(0.32, 0.84, 0.74);
const QColor IslandPalette::coralColor = rgb(1.00, 0.48, 0.42);
const QColor IslandPalette::yellowColor = rgb(1.00, 0.84, 0.40);
const QColor IslandPalette::blueColor = rgb(0.38, 0.58, 1.00);
const QColor IslandPalette::orangeColor = rgb(1.00, 0.74, 0.22);
const QColor IslandPalette::blackColor = rgb(0, 0, 0);
const QColor IslandPalette::whiteColor = rgb(1, 1, 1);
const QColor IslandPalette::clearColor = QColor::fromRgbF(0, 0, 0, 0);
const QColor IslandPalette::editOutlineColor = rgb(1.0, 0.16, 0.2);
const QColor IslandPalette::shadowColor = QColor::fromRgbF(0, 0, 0, 0.4f);
const QColor IslandPalette::removeRedColor = rgb(1.00, 0.27, 0.23);
const QColor IslandPalette::onAccentColor = QColor::fromRgbF(0, 0, 0, 0.86f);

IslandPalette::IslandPalette(UserDefaults *defaults, QObject *parent)
    : QObject(parent), m_defaults(defaults)
{
    if (m_defaults) {
        connect(m_defaults, &UserDefaults::changed, this, [this](const QString &key) {
            if (key == QLatin1String("useCustomAccent") || key.startsWith(QLatin1String("customAccent"))) {
                ++m_revision;
                emit accentRevisionChanged();
            }
        });
    }
}

IslandPalette *IslandPalette::create(QQmlEngine *qmlEngine, QJSEngine *)
{
    auto *defaults = qobject_cast<UserDefaults *>(qmlEngine->property(defaultsProperty).value<QObject *>());
    return new IslandPalette(defaults);
}

void IslandPalette::setDefaults(QQmlEngine *engine, UserDefaults *defaults)
{
    engine->setProperty(defaultsProperty, QVariant::fromValue<QObject *>(defaults));
}

double IslandPalette::defaultsDouble(const UserDefaults *defaults, const QString &key, double fallback)
{
    if (!defaults)
        return fallback;
    switch (defaults->typeOf(key)) {
    case UserDefaults::Type::Double:
    case UserDefaults::Type::Int:
    case UserDefaults::Type::Bool:
        return defaults->doubleValue(key, fallback);
    default:
        return fallback;
    }
}

QColor IslandPalette::accent(const UserDefaults *defaults, const QColor &color)
{
    if (!defaults || !defaults->boolValue(QStringLiteral("useCustomAccent"), false))
        return color;
    return rgb(defaultsDouble(defaults, QStringLiteral("customAccentR"), 0.47),
               defaultsDouble(defaults, QStringLiteral("customAccentG"), 0.8),
               defaultsDouble(defaults, QStringLiteral("customAccentB"), 0.98));
}

QColor IslandPalette::colorFor(const UserDefaults *defaults, AmbientKind kind)
{
    QColor c;
    switch (kind) {
    case AmbientKind::rest: c = yellowColor; break;
    case AmbientKind::bluetooth: c = blueColor; break;
    case AmbientKind::lowPower: c = orangeColor; break;
    case AmbientKind::eyeStrain: c = coralColor; break;
    case AmbientKind::tooClose: c = amberColor; break;
    case AmbientKind::mirror: c = mintColor; break;
    }
    return accent(defaults, c);
}

QColor IslandPalette::accent(const QColor &color, int) const
{
    return accent(m_defaults, color);
}

QColor IslandPalette::color(Ambient::AmbientKind kind, int) const
{
    return colorFor(m_defaults, kind);
}

QUrl IslandPalette::symbol(const QString &name) const
{
    return SymbolIcons::url(name);
}

QColor IslandPalette::faded(const QColor &color, double opacity) const
{
    QColor c = color;
    c.setAlphaF(float(std::clamp(opacity, 0.0, 1.0)));
    return c;
}
