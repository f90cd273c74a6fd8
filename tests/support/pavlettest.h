#pragma once

#include "core/userdefaults.h"
#include "fakes/fakeclock.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

// Every test gets a fresh, empty defaults store, a fake clock and a fake
// scheduler, to hand to the objects it builds.
class PavletTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Builds a second store over the same file, as a restart would see it
    // (pending writes of the first reach the disk first).
    std::unique_ptr<UserDefaults> reopenDefaults() const;
    QString tempPath(const QString &name) const { return tmp.filePath(name); }

    QTemporaryDir tmp;
    std::unique_ptr<UserDefaults> defaults;
    FakeClock clock;
    std::unique_ptr<FakeScheduler> scheduler;
};

// Spins the Qt event loop until pred() holds or timeoutMs passes.
bool waitUntil(const std::function<bool()> &pred, int timeoutMs = 5000);
