#pragma once

#include <QHashFunctions>
#include <QObject>
#include <QString>
#include <QStringView>
#include <QtQml/qqmlregistration.h>
#include <array>
#include <optional>

class Random;

namespace Arcade {
Q_NAMESPACE

// How strong the computer opponent of a board game is.
enum class ArcadeNPCLevel { easy, medium, hard };
Q_ENUM_NS(ArcadeNPCLevel)

} // namespace Arcade

using Arcade::ArcadeNPCLevel;

inline constexpr std::array<ArcadeNPCLevel, 3> allNPCLevels{
    ArcadeNPCLevel::easy, ArcadeNPCLevel::medium, ArcadeNPCLevel::hard};

// "easy", "medium" or "hard".
QString rawValue(ArcadeNPCLevel level);
// Exactly the three raw strings (case-sensitive); anything else gives none.
std::optional<ArcadeNPCLevel> levelFromRaw(QStringView raw);

inline size_t qHash(ArcadeNPCLevel level, size_t seed = 0) noexcept
{
    return ::qHash(int(level), seed);
}

// Who plays the second side of a two-player board game: the computer at a
// level, or a second person at the same machine.
class ArcadeVersus {
    Q_GADGET
    QML_VALUE_TYPE(arcadeVersus)
    Q_PROPERTY(bool local READ isLocal)
    // The computer's level as its raw string; empty for a local game.
    Q_PROPERTY(QString level READ levelName)
public:
    ArcadeVersus() = default;
    static ArcadeVersus local() { return ArcadeVersus(true, ArcadeNPCLevel::medium); }
    static ArcadeVersus npc(ArcadeNPCLevel level) { return ArcadeVersus(false, level); }

    bool isLocal() const { return m_local; }
    // The computer's level; none in a local game.
    std::optional<ArcadeNPCLevel> npcLevel() const
    {
        return m_local ? std::nullopt : std::optional<ArcadeNPCLevel>(m_level);
    }
    QString levelName() const { return m_local ? QString() : rawValue(m_level); }

    // Two local values are equal whatever level they were made with.
    friend bool operator==(const ArcadeVersus &a, const ArcadeVersus &b)
    {
        return a.m_local == b.m_local && (a.m_local || a.m_level == b.m_level);
    }
    friend size_t qHash(const ArcadeVersus &v, size_t seed = 0) noexcept
    {
        return v.m_local ? ::qHash(-1, seed) : ::qHash(int(v.m_level), seed);
    }

private:
    ArcadeVersus(bool local, ArcadeNPCLevel level) : m_local(local), m_level(level) {}
    bool m_local = false;
    ArcadeNPCLevel m_level = ArcadeNPCLevel::medium;
};

// A uniform draw from the closed range 0...1: a random integer in 0...2^53
// (both ends included) divided by 2^53, so it can be exactly 1.
double closedUnit(Random &random);
