#pragma once

#include <QList>
#include <QObject>
#include <QRectF>
#include <QString>

#include <optional>

// One display as the island sees it. Rectangles are in the island's screen
// space: points, origin at the bottom-left corner of the primary screen, y
// upwards (see ScreenSpace for the conversion from window-system coordinates).
struct ScreenInfo {
    QString name;
    QRectF frame;
    // The frame without the desktop's panels and bars.
    QRectF visibleFrame;
    // Height of the camera housing cut into the top edge; 0 on ordinary screens.
    double topInset = 0;
    // The usable strips left and right of the housing, when the screen reports them.
    std::optional<QRectF> auxiliaryTopLeft;
    std::optional<QRectF> auxiliaryTopRight;

    bool operator==(const ScreenInfo &) const = default;
};

// The displays attached to the machine.
class ScreenProvider : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~ScreenProvider() override = default;

    // In the system's order.
    virtual QList<ScreenInfo> screens() const = 0;
    // The screen holding the focused window or the pointer; nullopt with no screen.
    virtual std::optional<ScreenInfo> mainScreen() const = 0;
    // Height of the primary screen in window-system coordinates: the pivot
    // for turning y-down positions into the island's y-up space.
    virtual double primaryHeight() const = 0;

signals:
    // A screen was added or removed, or one changed its size or place.
    void screensChanged();
};
