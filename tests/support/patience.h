#pragma once

#include <QString>

#include <functional>

class QQuickItem;

// Waiting for what a window test needs, the same way everywhere: for a
// condition with a deadline that grows with the machine's load (and ends as
// soon as the condition holds), and for an item to be ready for a user's
// hand: shown, enabled, and at rest (its place, size and opacity unchanged
// over a couple of drawn frames).
namespace Patience {

// How many times longer than on a quiet machine a wait may take now: twice,
// and once more for every runnable process per core; at most 8.
double factor();
// ms stretched by factor().
int deadline(int ms);

// Runs wait (the event loop, by default) until condition holds or the
// stretched deadline passes; whether it held.
bool until(const std::function<bool()> &condition, int ms,
           const std::function<void(int)> &wait = nullptr);

// Why item is not ready for a click yet; empty once it is shown and enabled.
QString notShown(const QQuickItem *item);
// The item as a failure should name it: its type and what tells it apart,
// its place and size in its window, its opacity as seen.
QString describe(const QQuickItem *item);

// Waits until item is shown, enabled and at rest; false (with why, when
// given, saying what it saw last) when the stretched deadline passes first.
bool ready(QQuickItem *item, int ms = 4000, QString *why = nullptr,
           const std::function<void(int)> &wait = nullptr);

} // namespace Patience
