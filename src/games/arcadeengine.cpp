#include "arcadeengine.h"

#include "clock.h"
#include "random.h"
#include "scheduler.h"
#include "userdefaults.h"

#include <algorithm>
#include <limits>

ArcadeEngine::ArcadeEngine(UserDefaults *defaults, Clock *clock, Scheduler *scheduler,
                           Random *random, QObject *parent)
    : QObject(parent)
    , m_defaults(defaults ? defaults : UserDefaults::standard())
    , m_clock(clock ? clock : Clock::system())
    , m_scheduler(scheduler ? scheduler : Scheduler::main())
    , m_ownRandom(random ? nullptr : std::make_unique<Random>())
    , m_random(random ? random : m_ownRandom.get())
{
}

ArcadeEngine::~ArcadeEngine() = default;

int ArcadeEngine::readRecord(const QString &key) const
{
    const qint64 v = m_defaults->intValue(key, 0);
    return int(std::clamp<qint64>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

void ArcadeEngine::writeRecord(const QString &key, qint64 value)
{
    m_defaults->setInt(key, value);
}
