#pragma once

#include <QList>
#include <QSizeF>
#include <QString>

#include <memory>

class ArcadeEngine;
class Clock;
class Random;
class Scheduler;
class UserDefaults;

// What every game engine is built from.
struct GameEngineParts {
    UserDefaults *defaults = nullptr;
    Clock *clock = nullptr;
    Scheduler *scheduler = nullptr;
    Random *random = nullptr;
};

// One game of the arcade: everything the island, its frame, the arcade's
// card and the games panel know about it.
struct GameEntry {
    // The island's PavletGame case of this page carries the name id.
    const char *id;
    QString title;
    // Under the title in the panel's header while the game shows.
    QString subtitle;
    // The line on the arcade's card.
    QString detail;
    // The palette colour of the card's record column ("yellow", "coral", ...),
    // and whether it passes through the custom accent.
    QString accentName;
    bool resolvesAccent;
    // The record's caption on the card, in capitals as shown, and the
    // engine's property that holds the record.
    QString bestLabel;
    const char *recordProperty;
    bool recordIsText; // shown as text (the clicks-per-second summary)
    // The extra height below the notch of its page, and its width.
    QSizeF pageSize;
    std::unique_ptr<ArcadeEngine> (*makeEngine)(const GameEngineParts &parts);
    // The game's screen and the picture on its card: QML files below
    // games/. The screen takes `engine` (the game's engine) and `shown`.
    const char *view;
    const char *mark;
    // Its page: the row's place from 1 (page 0 is the arcade).
    int game = 0;
};

// The games, in page order. Adding a game is a row here, a case of the
// island's PavletGame, its engine and its views.
namespace GameRegistry {
const QList<GameEntry> &games();
// The row of page game; none for the arcade or an unknown page.
const GameEntry *find(int game);

// How many games there are, in a word ("Thirteen"), for the lines that
// count them.
QString countInWords();

// The arcade's own page.
QString arcadeTitle();
QString arcadeSubtitle();
QSizeF arcadePageSize();

// A page's size: the arcade's for page 0, a game's own, else the plain
// game page.
QSizeF pageSize(int page);
} // namespace GameRegistry
