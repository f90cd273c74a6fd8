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
// which may scroll). Empty as well when Home is not open. A list in motion
// has faults for a moment; see waitForHomeCards.
QStringList homeCardFaults(QQuickItem *root);

// Runs the event loop until homeCardFaults has stayed empty for quietMs (the
// list has settled) or timeoutMs passed; returns the last faults seen (empty
// on success). `step` runs instead of a bare turn of the event loop when
// given (a test that also steps its fake clock, or stalls like a busy machine).
QStringList waitForHomeCards(QQuickItem *root, int timeoutMs = 5000, const std::function<void()> &step = {},
                             int quietMs = 400);

} // namespace ItemTree
