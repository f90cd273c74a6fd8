#include "games/arcadeengine.h"

#include "core/clock.h"
#include "core/random.h"
#include "core/scheduler.h"
#include "core/userdefaults.h"


ArcadeEngine::ArcadeEngine(UserDefaults *defaults, Clock *clock, Scheduler *scheduler,
                           Random *random, QObject *parent)
    : QObject(parent)
    , m_defaults(defaults)
    , m_clock(clock)
    , m_scheduler(scheduler)
    , m_ownRandom(random ? nullptr : std::make_unique<Random>())
    , m_random(random ? random : m_ownRandom.get())
{
}

ArcadeEngine::~ArcadeEngine() = default;

bool ArcadeEngine::handleKey(const KeyInput &)
{
    return false;
}

qint64 ArcadeEngine::readRecord(const QString &key, qint64 most) const
{
    const qint64 value = m_defaults->intValue(key, 0);
    return value >= 0 && value <= most ? value : 0;
}

void ArcadeEngine::writeRecord(const QString &key, qint64 value)
{
    m_defaults->setInt(key, value);
}
