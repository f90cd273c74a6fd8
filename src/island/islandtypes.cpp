#include "island/islandtypes.h"

namespace Island {

QString rawValue(IslandEditPhase phase)
{
    return phase == IslandEditPhase::hang ? QStringLiteral("hang") : QStringLiteral("expanded");
}

QString rawValue(IslandEditPreview preview)
{
    switch (preview) {
    case IslandEditPreview::idle: return QStringLiteral("idle");
    case IslandEditPreview::player: return QStringLiteral("player");
    case IslandEditPreview::timer: return QStringLiteral("timer");
    case IslandEditPreview::ambient: return QStringLiteral("ambient");
    }
    return {};
}

std::optional<IslandEditPhase> editPhaseFromRaw(const QString &raw)
{
    for (auto p : {IslandEditPhase::hang, IslandEditPhase::expanded})
        if (rawValue(p) == raw)
            return p;
    return std::nullopt;
}

std::optional<IslandEditPreview> editPreviewFromRaw(const QString &raw)
{
    for (auto p : allEditPreviews())
        if (rawValue(p) == raw)
            return p;
    return std::nullopt;
}

QString chipTitle(IslandEditPreview preview)
{
    switch (preview) {
    case IslandEditPreview::idle: return QStringLiteral("Idle");
    case IslandEditPreview::player: return QStringLiteral("Player");
    case IslandEditPreview::timer: return QStringLiteral("Timer");
    case IslandEditPreview::ambient: return QStringLiteral("Ambient");
    }
    return {};
}

QList<IslandEditPreview> allEditPreviews()
{
    return {IslandEditPreview::idle, IslandEditPreview::player, IslandEditPreview::timer,
            IslandEditPreview::ambient};
}

} // namespace Island
