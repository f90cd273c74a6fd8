#pragma once

#include "support/pavlettest.h"

#include "app/islandservices.h"
#include "home/homeparts.h"

#include "fakes/islandfakes.h"
#include "store/homemodule.h"

#include <QSignalSpy>

// A model over fake platform parts, a fake clock and scheduler, and the real
// engines and stores.
class IslandTest : public PavletTest {
protected:
    void SetUp() override
    {
        PavletTest::SetUp();
        fakes = updateBase.isEmpty()
            ? std::make_unique<IslandFakes>(defaults.get(), clock, scheduler.get())
            : std::make_unique<IslandFakes>(defaults.get(), clock, scheduler.get(), updateBase);
    }

    void TearDown() override
    {
        homeParts.reset();
        model.reset();
        services.reset();
        fakes.reset();
        PavletTest::TearDown();
    }

    NotchViewModel &make()
    {
        model.reset();
        services = std::make_unique<IslandServices>(fakes->environment());
        model = std::make_unique<NotchViewModel>(fakes->environment(), services->parts());
        homeParts = std::make_unique<HomeParts>(fakes->environment());
        model->setPointerInsideTest([this] { return pointerInside; });
        return *model;
    }

    void hide(HomeModule module) { fakes->settings.setModule(module, false); }
    void show(HomeModule module) { fakes->settings.setModule(module, true); }
    // Shows only these modules on Home.
    void showOnly(const QStringList &ids)
    {
        QStringList hidden;
        for (HomeModule m : HomeModules::all()) {
            if (!ids.contains(HomeModules::id(m)))
                hidden << HomeModules::id(m);
        }
        hidden.sort();
        fakes->settings.setDisabledModules(hidden.join(QLatin1Char(',')));
    }
    void advance(qint64 ms) { scheduler->advance(ms); }

    // Where the update service looks; empty: nowhere that answers.
    QUrl updateBase;
    std::unique_ptr<IslandFakes> fakes;
    bool pointerInside = false;
    // The engines and services the model is handed, over the fakes.
    std::unique_ptr<IslandServices> services;
    std::unique_ptr<NotchViewModel> model;
    // What the Home panel reads besides the model.
    std::unique_ptr<HomeParts> homeParts;
};
