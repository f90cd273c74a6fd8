#pragma once

#include <QList>
#include <QMetaType>
#include <QString>
#include <QUrl>
#include <optional>

// The 28 modules of the island, in catalogue order.
enum class HomeModule {
    player, timer, clocks, weather, calendar, system, network, clipboard, notes, shortcuts,
    awake, quote, bluetooth, eyeStrain, mirror, findMy, games, calculator, speedTest, pocket,
    gameMode, youtube, spotify, compress, voice, translator, micCheck, canvas,
};

// The 13 icons of the Home panel's icon strip, each standing for the module
// of the same id.
enum class ChromeIcon {
    canvas, mirror, findMy, games, calculator, pocket, youtube, spotify, compress, voice,
    translator, micCheck, gameMode,
};

namespace HomeModules {
const QList<HomeModule> &all();
QString id(HomeModule m);
std::optional<HomeModule> fromId(const QString &id);
QString title(HomeModule m);
QString detail(HomeModule m);
QString symbol(HomeModule m);
// Modules that start on the island.
bool isShipped(HomeModule m);
// Modules that live in the icon strip and never get a Home card.
bool isIconOnly(HomeModule m);
// The module's card as Home loads it: a QML file below home/, relative to
// the panel's own, that takes the island's model (`model`), the settings
// (`settings`) and Home's model (`home`). Empty for icon-only modules.
QUrl card(HomeModule m);
} // namespace HomeModules

namespace ChromeIcons {
const QList<ChromeIcon> &all();
QString id(ChromeIcon icon);
std::optional<ChromeIcon> fromId(const QString &id);
QString title(ChromeIcon icon);
QString symbol(ChromeIcon icon);
HomeModule module(ChromeIcon icon);
} // namespace ChromeIcons

Q_DECLARE_METATYPE(HomeModule)
Q_DECLARE_METATYPE(ChromeIcon)
