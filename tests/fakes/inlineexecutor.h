#pragma once

#include "core/executor.h"

// Runs each piece of work at once, on the calling thread.
class InlineExecutor final : public Executor {
public:
    void run(std::function<void()> work) override { work(); }
};
