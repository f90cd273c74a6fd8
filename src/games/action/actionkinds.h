#pragma once

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

#include <optional>

// Small choice types of the action games.
namespace ActionGames {
Q_NAMESPACE
QML_ELEMENT

// The seven block shapes, raw values 0 to 6.
enum class BlockKind { i, o, t, s, z, j, l };
Q_ENUM_NS(BlockKind)

// Test lengths of the clicking test; raw values are seconds.
enum class CPSDuration { five = 5, ten = 10, thirty = 30, minute = 60, fiveMinute = 300 };
Q_ENUM_NS(CPSDuration)

enum class PongDifficulty { easy, medium, hard };
Q_ENUM_NS(PongDifficulty)

enum class SnakeDir { up, down, left, right };
Q_ENUM_NS(SnakeDir)
} // namespace ActionGames

using ActionGames::BlockKind;
using ActionGames::CPSDuration;
using ActionGames::PongDifficulty;
using ActionGames::SnakeDir;

inline constexpr BlockKind allBlockKinds[] = {BlockKind::i, BlockKind::o, BlockKind::t, BlockKind::s,
                                              BlockKind::z, BlockKind::j, BlockKind::l};

inline constexpr CPSDuration allCPSDurations[] = {CPSDuration::five, CPSDuration::ten, CPSDuration::thirty,
                                                  CPSDuration::minute, CPSDuration::fiveMinute};

inline constexpr PongDifficulty allPongDifficulties[] = {PongDifficulty::easy, PongDifficulty::medium,
                                                         PongDifficulty::hard};

inline double cpsLength(CPSDuration d) { return double(int(d)); }
QString cpsTitle(CPSDuration d);
std::optional<CPSDuration> cpsDurationFromRaw(int seconds);

QString pongDifficultyRaw(PongDifficulty d);
std::optional<PongDifficulty> pongDifficultyFromRaw(const QString &raw);
