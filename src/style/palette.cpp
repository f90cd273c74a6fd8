#include "style/palette.h"

#include <algorithm>

namespace {
QColor rgb(double r, double g, double b) { return QColor::fromRgbF(float(r), float(g), float(b)); }
} // namespace

const QColor Palette::textPrimaryColor = white(0.92);
const QColor Palette::textSecondaryColor = white(0.58);
const QColor Palette::textTertiaryColor = white(0.38);
const QColor Palette::fillColor = white(0.08);
const QColor Palette::fillStrongColor = white(0.14);
const QColor Palette::greenColor = rgb(0.12, 0.84, 0.38);
const QColor Palette::pinkColor = rgb(0.98, 0.38, 0.50);
const QColor Palette::redColor = rgb(0.94, 0.32, 0.32);
const QColor Palette::amberColor = rgb(0.98, 0.76, 0.28);
const QColor Palette::skyColor = rgb(skyChannels.r, skyChannels.g, skyChannels.b);
const QColor Palette::mintColor = rgb(0.32, 0.84, 0.74);
const QColor Palette::coralColor = rgb(1.00, 0.48, 0.42);
const QColor Palette::yellowColor = rgb(1.00, 0.84, 0.40);
const QColor Palette::blueColor = rgb(0.38, 0.58, 1.00);
const QColor Palette::orangeColor = rgb(1.00, 0.74, 0.22);
const QColor Palette::blackColor = rgb(0, 0, 0);
const QColor Palette::whiteColor = rgb(1, 1, 1);
const QColor Palette::clearColor = QColor::fromRgbF(0, 0, 0, 0);
const QColor Palette::editOutlineColor = rgb(1.0, 0.16, 0.2);
const QColor Palette::shadowColor = black(0.4);
const QColor Palette::removeRedColor = rgb(1.00, 0.27, 0.23);
const QColor Palette::onAccentColor = black(0.86);
const QColor Palette::windowBackgroundColor = rgb(0.12, 0.12, 0.13);
const QColor Palette::markCorrectColor = rgb(0.33, 0.55, 0.31);
const QColor Palette::markPresentColor = rgb(0.71, 0.62, 0.23);
const QColor Palette::markAbsentColor = rgb(0.23, 0.23, 0.24);

Palette::Palette(QObject *parent)
    : QObject(parent)
{
}

QColor Palette::mix(const QColor &from, const QColor &to, double weight)
{
    const double w = std::clamp(weight, 0.0, 1.0);
    if (w <= 0)
        return from;
    if (w >= 1)
        return to;
    const QColor a = from.toRgb(), b = to.toRgb();
    auto at = [w](float x, float y) { return float(x + (y - x) * w); };
    return QColor::fromRgbF(at(a.redF(), b.redF()), at(a.greenF(), b.greenF()), at(a.blueF(), b.blueF()),
                            at(a.alphaF(), b.alphaF()));
}

QColor Palette::faded(const QColor &color, double opacity) const
{
    QColor c = color;
    c.setAlphaF(float(std::clamp(opacity, 0.0, 1.0)));
    return c;
}
