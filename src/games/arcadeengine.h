#pragma once

#include <QObject>
#include <QString>
#include <memory>

class Clock;
class Random;
class Scheduler;
class UserDefaults;

// What every game engine shares: the defaults store that keeps its record,
// the clock and scheduler that pace it and the generator behind its random
// choices. Each is injected (null means the process-wide one) so that tests
// drive an engine deterministically.
//
// An engine publishes its state as properties; the first case of its phase
// enumeration is where opening the game brings it back; its record is read
// once at creation and written whenever it changes.
class ArcadeEngine : public QObject {
    Q_OBJECT
public:
    ArcadeEngine(UserDefaults *defaults, Clock *clock, Scheduler *scheduler, Random *random,
                 QObject *parent = nullptr);
    ~ArcadeEngine() override;

    UserDefaults *defaults() const { return m_defaults; }
    Clock *clock() const { return m_clock; }
    Scheduler *scheduler() const { return m_scheduler; }
    Random &random() const { return *m_random; }

protected:
    // An integer record; 0 when the key is absent.
    int readRecord(const QString &key) const;
    void writeRecord(const QString &key, qint64 value);

    // Stores value in field; true when it changed (the caller then emits).
    template<typename T>
    static bool assign(T &field, const T &value)
    {
        if (field == value)
            return false;
        field = value;
        return true;
    }

private:
    UserDefaults *m_defaults;
    Clock *m_clock;
    Scheduler *m_scheduler;
    std::unique_ptr<Random> m_ownRandom;
    Random *m_random;
};
