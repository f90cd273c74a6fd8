#pragma once

#include <QObject>
#include <QList>
#include <QString>

#include <optional>
#include <QtQml/qqmlregistration.h>

// The island's plain enumerations: its state, the games page, and the on-screen
// editor's phase and preview. The order of NotchState is compared: the first
// three cases are the closed island, the rest are panels.
namespace Island {
Q_NAMESPACE
QML_NAMED_ELEMENT(Island)

enum class NotchState {
    collapsed,
    hover,
    hud,
    home,
    canvas,
    mirror,
    games,
    calculator,
    pocket,
    voice,
    translator,
    update,
};
Q_ENUM_NS(NotchState)

// The games panel's page: the arcade, then one case per row of
// GameRegistry, in its order and named by the row's id.
enum class PavletGame {
    hub,
    dino,
    flap,
    wordle,
    pong,
    blocks,
    stack,
    reflex,
    toe,
    cps,
    snake,
    pattern,
    blackjack,
    stack4,
};
Q_ENUM_NS(PavletGame)

enum class IslandEditPhase { hang, expanded };
Q_ENUM_NS(IslandEditPhase)

enum class IslandEditPreview { idle, player, timer, ambient };
Q_ENUM_NS(IslandEditPreview)

// A closed island: collapsed, hover or the HUD.
constexpr bool isClosed(NotchState s) { return s <= NotchState::hud; }
// Collapsed, hover, HUD or Home.
constexpr bool atMostHome(NotchState s) { return s <= NotchState::home; }
// Home or any panel after it.
constexpr bool fromHomeOn(NotchState s) { return s >= NotchState::home; }

QString rawValue(IslandEditPhase phase);
QString rawValue(IslandEditPreview preview);
std::optional<IslandEditPhase> editPhaseFromRaw(const QString &raw);
std::optional<IslandEditPreview> editPreviewFromRaw(const QString &raw);
// The title on the preview's chip in the island editor.
QString chipTitle(IslandEditPreview preview);
// Every preview case in declaration order.
QList<IslandEditPreview> allEditPreviews();
} // namespace Island

using Island::IslandEditPhase;
using Island::IslandEditPreview;
using Island::NotchState;
using Island::PavletGame;
