#pragma once

#include <QList>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <functional>

class QObject;
class QQuickItem;

// What a user would see of the live item tree, for checks after each step of
// a test that drives the real windows.
namespace ItemTree {

// The first item under root (root included) with this object name.
QQuickItem *find(QQuickItem *root, const QString &objectName);

// Whether the object is of this QML or C++ type, or derives from it
// ("IslandPressStyle" matches an inline component built on it too).
bool isA(const QObject *object, const char *type);

// Every item under root (root included) of this type, in tree order.
QList<QQuickItem *> all(QQuickItem *root, const char *type);

// The opacity the item is drawn with: its own times every ancestor's; 0 when
// it or an ancestor is hidden.
double effectiveOpacity(const QQuickItem *item);

// The item's rectangle in scene coordinates, transforms included.
QRectF sceneRect(const QQuickItem *item);

// Home's cards in list order (the objects named "homeCard:<module>" in the
// list named "homeCards"), found anywhere under root; empty when Home is not
// open.
QList<QQuickItem *> homeCards(QQuickItem *root);

// What is wrong with Home's card list as drawn now, one line per fault; empty
// when every card is visible at full opacity, no two overlap and each lies
// inside the panel (horizontally within it, vertically within its content,
// which may scroll). Empty as well when Home is not open. Meant to be polled
// until the list settles (see waitForHomeCards).
QStringList homeCardFaults(QQuickItem *root);

// Runs the event loop until homeCardFaults is empty or timeoutMs passed;
// returns the last faults (empty on success). `step` runs between polls when
// given (a test's fake clock, for one).
QStringList waitForHomeCards(QQuickItem *root, int timeoutMs = 3000, const std::function<void()> &step = {});

} // namespace ItemTree
