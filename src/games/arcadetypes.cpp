#include "games/arcadetypes.h"

#include "core/random.h"

QString rawValue(ArcadeNPCLevel level)
{
    switch (level) {
    case ArcadeNPCLevel::easy:
        return QStringLiteral("easy");
    case ArcadeNPCLevel::medium:
        return QStringLiteral("medium");
    case ArcadeNPCLevel::hard:
        return QStringLiteral("hard");
    }
    return QString();
}

std::optional<ArcadeNPCLevel> levelFromRaw(QStringView raw)
{
    for (ArcadeNPCLevel level : allNPCLevels) {
        if (raw == rawValue(level))
            return level;
    }
    return std::nullopt;
}

double closedUnit(Random &random)
{
    constexpr std::uint64_t span = std::uint64_t(1) << 53;
    // Rejection keeps the 2^53 + 1 outcomes equally likely.
    constexpr std::uint64_t limit = UINT64_MAX - (UINT64_MAX % (span + 1));
    std::uint64_t x = random.next();
    while (x >= limit)
        x = random.next();
    return double(x % (span + 1)) / double(span);
}
