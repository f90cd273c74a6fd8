#pragma once

#include "services/calendarstore.h"
#include "store/clockcity.h"
#include "store/homemodule.h"

#include <QColor>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QObject>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QtQml/qqmlregistration.h>
#include <functional>
#include <optional>

// A symbol with its colour. tinted: the colour goes through the custom
// accent; white tints never do.
struct SymbolStyle {
    Q_GADGET
    QML_VALUE_TYPE(symbolStyle)
    Q_PROPERTY(QString symbol MEMBER symbol CONSTANT)
    Q_PROPERTY(QColor color MEMBER color CONSTANT)
    Q_PROPERTY(bool tinted MEMBER tinted CONSTANT)
public:
    QString symbol;
    QColor color;
    bool tinted = false;
    bool operator==(const SymbolStyle &) const = default;
};

// The rocking of a tile in edit mode: one swing's duration and the delay
// before the first, both in seconds.
struct JiggleParams {
    Q_GADGET
    QML_VALUE_TYPE(jiggleParams)
    Q_PROPERTY(double period MEMBER period CONSTANT)
    Q_PROPERTY(double delay MEMBER delay CONSTANT)
    Q_PROPERTY(double angle MEMBER angle CONSTANT)
public:
    double period = 0.11;
    double delay = 0;
    double angle = 1.6; // degrees
};

// A shipped module the tray offers to switch back on.
struct ModuleTile {
    Q_GADGET
    QML_VALUE_TYPE(moduleTile)
    Q_PROPERTY(QString id MEMBER id CONSTANT)
    Q_PROPERTY(QString title MEMBER title CONSTANT)
    Q_PROPERTY(QString detail MEMBER detail CONSTANT)
public:
    QString id;
    QString title;
    QString detail;
    bool operator==(const ModuleTile &) const = default;
};

// One icon of the chrome strip as drawn: its glyph and tint, the count badge
// ("" for none), the recording dot and whether edit mode offers to remove it.
struct ChromeCell {
    Q_GADGET
    QML_VALUE_TYPE(chromeCell)
    Q_PROPERTY(QString id MEMBER id CONSTANT)
    Q_PROPERTY(QString title MEMBER title CONSTANT)
    Q_PROPERTY(QString glyph MEMBER glyph CONSTANT)
    Q_PROPERTY(QColor tint MEMBER tint CONSTANT)
    Q_PROPERTY(QString badge MEMBER badge CONSTANT)
    Q_PROPERTY(bool dot MEMBER dot CONSTANT)
    Q_PROPERTY(bool removable MEMBER removable CONSTANT)
public:
    QString id;
    QString title;
    QString glyph;
    QColor tint;
    QString badge;
    bool dot = false;
    bool removable = false;
    bool operator==(const ChromeCell &) const = default;
};

// One meter of the system card.
struct SystemMeter {
    Q_GADGET
    QML_VALUE_TYPE(systemMeter)
    Q_PROPERTY(QString label MEMBER label CONSTANT)
    Q_PROPERTY(QString value MEMBER value CONSTANT)
    Q_PROPERTY(QColor color MEMBER color CONSTANT)
public:
    QString label;
    QString value;
    QColor color;
    bool operator==(const SystemMeter &) const = default;
};

// A tile of the quick-actions card.
struct QuickAction {
    Q_GADGET
    QML_VALUE_TYPE(quickAction)
    Q_PROPERTY(QString title MEMBER title CONSTANT)
    Q_PROPERTY(QString symbol MEMBER symbol CONSTANT)
public:
    QString title;
    QString symbol;
};

namespace HomeRules {

// What decides whether a module gets a card outside edit mode.
struct VisibilityInputs {
    // A "want" preference; absent counts as true.
    std::function<bool(const QString &key)> want;
    // The grant test of a permission by raw value ("location"); the test
    // itself may remember the grant for later.
    std::function<bool(const QString &permission)> granted;
    bool clipboardEmpty = true;
    bool clipboardHideEmpty = false;
    bool bluetoothEmpty = true;
    bool bluetoothHideEmpty = false;
};

// The modules that get a card now, in the user's order.
QList<HomeModule> visibleModules(const QList<HomeModule> &orderedEnabled, bool editing,
                                 const VisibilityInputs &inputs);

// A permission recorded as granted passes unless the system now denies it; an
// unrecorded one passes only when the system grants it. markGranted: the
// system grants it now, so the grant is to be recorded.
struct GrantResult {
    bool passes = false;
    bool markGranted = false;
};
GrantResult grantTest(bool recorded, int systemStatus);

// Heights.
inline constexpr double HeightDeadBand = 1.0;
bool storesHeight(double current, double reported);
double scrollCap(double notchHeight);
bool scrolls(double contentHeight, double notchHeight);
// Where the list scrolls to bring the span top..bottom (in its content) into
// sight with margin on each side, moving the least: scroll is what it
// scrolls by now, view its visible height, most the largest scroll. A span
// taller than the view shows its top.
double revealScroll(double scroll, double view, double most, double top, double bottom, double margin);

// "v" and the version, or "v0.1.2" when the program carries none.
QString versionText(const QString &applicationVersion);

// The position in orderedEnabled that a drop at visible position t stands
// for: the place of the module shown there. Icon-only modules that are
// enabled sit in orderedEnabled but not among the tiles.
std::optional<int> orderedPosition(const QList<HomeModule> &visible, const QList<HomeModule> &orderedEnabled,
                                   int visiblePosition);

// The position a dragged tile (or icon) moves to for a coordinate along the
// list: the first other item whose span holds it (edges included); above
// the first: 0; past the last: the last; in a gap or on itself: none.
// spans: (start, end) per item in ordered, missing ones skipped.
struct Span {
    QString id;
    double start = 0;
    double end = 0;
};
std::optional<int> targetIndex(double coordinate, const QStringList &ordered, const QHash<QString, Span> &spans,
                               const QString &self);
// The icon strip's variant: only a hit on another icon counts.
std::optional<int> stripTargetIndex(double x, const QStringList &ordered, const QHash<QString, Span> &spans,
                                    const QString &self);

// Period and phase of a tile's rocking from its id's hash.
JiggleParams jiggleParams(size_t seed);
JiggleParams jiggleParamsFor(const QString &id);

// Header.
SymbolStyle batteryStyle(int percent, bool charging, bool lowPower);
// The percentage beside the battery; empty when it is not known (below 0).
QString batteryText(int percent);
// The count badge: min(count, 9); empty when there is nothing or while editing.
QString badgeText(int count, bool editing);
bool stripIsMenu(int iconCount, bool editing);
QColor chromeTint(ChromeIcon icon);
QString chromeGlyph(ChromeIcon icon, bool gameModeOn, bool recording, bool cameraRunning);
// Icons whose module is icon-only can be removed from the strip.
bool chromeRemovable(ChromeIcon icon);

// Timer row.
bool presetSelected(double presetSeconds, int minutes);
// World clocks.
inline constexpr int MaxClocks = 3;
bool showsMeridiem(bool use24Hour, bool clocksShowMeridiem);
QColor cityColor(int index);

// Cards.
QString degrees(int value);
QString highLowText(int high, int low);
QString sunText(const QString &sunrise, const QString &sunset);
bool showsReminder(bool optionOn, bool wantReminders, bool remindersGranted, bool hasReminder);
using Meter = SystemMeter;
QList<Meter> systemMeters(int cpu, int memory, const QString &diskFree, const QString &uptime, bool showCPU,
                          bool showMemory, bool showDisk, bool showUptime);
// The eye-strain card's status; alert: drawn in coral.
QString eyeStrainStatus(bool warning, bool tooClose, int minutesUntilBreak);
bool eyeStrainAlert(bool warning, bool tooClose);

// Speed test.
QString pingText(const std::optional<double> &ms);
QString rateText(const std::optional<double> &mbps);

} // namespace HomeRules
