#pragma once

#include <QList>
#include <QObject>
#include <QPointF>
#include <QRectF>
#include <QString>

#include <optional>

// The island's rectangles live in screen space with y upwards (origin at the
// bottom-left of the primary screen). A QRectF there keeps x() as minX and
// y() as minY; maxY() is the top edge.
namespace ScreenSpace {
inline double minY(const QRectF &r) { return r.y(); }
inline double maxY(const QRectF &r) { return r.y() + r.height(); }
// Turns a y-up rectangle into window-system (y-down) coordinates and back;
// the conversion is its own inverse.
QRectF flip(const QRectF &r, double primaryHeight);
QPointF flip(const QPointF &p, double primaryHeight);
} // namespace ScreenSpace

namespace platform {

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
class IScreenProvider : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~IScreenProvider() override = default;

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

} // namespace platform
