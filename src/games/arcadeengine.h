#pragma once

#include <QObject>
#include <QString>
#include <limits>
#include <memory>

class Clock;
class Random;
class Scheduler;
class UserDefaults;
struct KeyInput;

// What every game engine shares: the defaults store that keeps its record,
// the clock and scheduler that pace it and the generator behind its random
// choices. Each is injected (null means the process-wide one) so that tests
// drive an engine deterministically.
//
// An engine publishes its state as properties; the first case of its phase
// enumeration is where opening the game brings it back; its record is read
// once at creation and written whenever it changes.
//
// The island drives every engine through the same calls: reset() when the
// game opens, leave() when the island leaves it (the engine's stop() unless
// that does more) and handleKey() for the keys pressed while it is on
// screen.
class ArcadeEngine : public QObject {
    Q_OBJECT
public:
    ArcadeEngine(UserDefaults *defaults, Clock *clock, Scheduler *scheduler, Random *random,
                 QObject *parent = nullptr);
    ~ArcadeEngine() override;

    // Readies the engine as the game opens: back to its first phase.
    virtual void reset() {}
    // Ends every timer and task of the engine, so that nothing runs while
    // the game is off screen. An engine may clear more (its notes say what).
    virtual void stop() {}
    // What the island does when it leaves the game (another game, the hub,
    // a collapse): timers and tasks end, scores and phases stay. stop()
    // unless an engine's stop does more.
    virtual void leave() { stop(); }
    // A key pressed while the game is on screen; true when the game used it.
    // Games played with the pointer alone take none.
    virtual bool handleKey(const KeyInput &key);

    UserDefaults *defaults() const { return m_defaults; }
    Clock *clock() const { return m_clock; }
    Scheduler *scheduler() const { return m_scheduler; }
    Random &random() const { return *m_random; }

protected:
    // An integer record: a score, a best or a count, none of which a game
    // makes below 0. 0 (no record) when the key is absent or holds a value
    // the game could never have made: below 0 or above most.
    qint64 readRecord(const QString &key, qint64 most = std::numeric_limits<qint64>::max()) const;
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
