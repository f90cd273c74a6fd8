#pragma once

#include "core/random.h"
#include "core/userdefaults.h"
#include "support/pavlettest.h"

#include <QObject>
#include <QStringList>
#include <memory>

// Engines built over the test's store, fake clock and fake scheduler, with a
// seeded generator; `written` lists every key the store has written since.
class ActionTest : public PavletTest {
protected:
    void SetUp() override
    {
        PavletTest::SetUp();
        QObject::connect(defaults.get(), &UserDefaults::changed, [this](const QString &key) { written << key; });
    }

    template<typename Engine>
    std::unique_ptr<Engine> make()
    {
        return std::make_unique<Engine>(defaults.get(), &clock, scheduler.get(), &random);
    }
    // As the games panel opens a game.
    template<typename Engine>
    std::unique_ptr<Engine> opened()
    {
        auto e = make<Engine>();
        e->reset();
        return e;
    }

    // Steps an engine by hand, n frames of dt seconds each.
    template<typename Engine>
    static void frames(Engine &engine, int n, double dt = 1.0 / 60.0)
    {
        for (int i = 0; i < n; ++i)
            engine.advance(dt);
    }

    Random random{7};
    QStringList written;
};
