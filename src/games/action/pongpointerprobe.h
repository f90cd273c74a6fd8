#pragma once

#include "core/scheduler.h"

#include <QQuickItem>
#include <QtQml/qqmlregistration.h>

namespace platform { class IPointerLocation; }
class QQmlEngine;

// Steers Pong's paddle from the pointer without a click: while it sits in a
// shown window it asks the pointer's place on the desktop 60 times a second
// and reports the pointer's height over the item when the pointer is within
// the item's width widened by 24 points on each side. It takes no clicks;
// everything under it stays clickable.
class PongPointerProbe : public QQuickItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(bool polling READ polling NOTIFY pollingChanged)
public:
    static constexpr int PerSecond = 60;
    static constexpr double Margin = 24;

    explicit PongPointerProbe(QQuickItem *parent = nullptr);

    // Where probes made by this engine read the pointer and who paces them.
    // Without a source a probe stays still.
    static void setSource(QQmlEngine *engine, const platform::IPointerLocation *pointer, Scheduler *scheduler);

    // Whether a pointer at local x over an item width × height steers.
    static bool steers(double x, double width, double height);

    bool polling() const { return m_task.isActive(); }
    // One look at the pointer.
    void poll();

signals:
    // The pointer's distance from the item's top, and the item's height.
    void moved(double y, double height);
    void pollingChanged();

protected:
    void componentComplete() override;
    void itemChange(ItemChange change, const ItemChangeData &value) override;

private:
    void restartPolling();

    const platform::IPointerLocation *m_pointer = nullptr;
    Scheduler *m_scheduler = nullptr;
    TaskHandle m_task;
};
