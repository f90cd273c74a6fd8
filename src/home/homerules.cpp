#include "home/homerules.h"

#include "core/localeformats.h"
#include "style/palette.h"
#include "services/systemmonitor.h"
#include "tools/tooltypes.h"
#include <QLocale>
#include <algorithm>
#include <cmath>

namespace HomeRules {

QList<HomeModule> visibleModules(const QList<HomeModule> &orderedEnabled, bool editing,
                                 const VisibilityInputs &inputs)
{
    QList<HomeModule> out;
    for (HomeModule m : orderedEnabled) {
        if (HomeModules::isIconOnly(m))
            continue;
        if (editing) {
            out.append(m);
            continue;
        }
        bool keep = true;
        switch (m) {
        case HomeModule::weather:
            keep = inputs.want(QStringLiteral("wantLocation")) && inputs.granted(QStringLiteral("location"));
            break;
        case HomeModule::calendar:
            keep = inputs.want(QStringLiteral("wantCalendar")) && inputs.granted(QStringLiteral("calendar"));
            break;
        case HomeModule::clipboard:
            keep = !(inputs.clipboardHideEmpty && inputs.clipboardEmpty);
            break;
        case HomeModule::bluetooth:
            if (!inputs.want(QStringLiteral("wantBluetooth"))) {
                keep = false;
                break;
            }
            // Bluetooth needs no grant here; the grant is recorded all the same.
            inputs.granted(QStringLiteral("bluetooth"));
            keep = !(inputs.bluetoothHideEmpty && inputs.bluetoothEmpty);
            break;
        default:
            break;
        }
        if (keep)
            out.append(m);
    }
    return out;
}

GrantResult grantTest(bool recorded, int systemStatus)
{
    if (recorded)
        return {systemStatus != 1, systemStatus == 0};
    return {systemStatus == 0, systemStatus == 0};
}

bool storesHeight(double current, double reported) { return std::abs(current - reported) > HeightDeadBand; }

double scrollCap(double notchHeight) { return std::max(620.0 - (notchHeight + 26.0), 200.0); }

bool scrolls(double contentHeight, double notchHeight) { return contentHeight > scrollCap(notchHeight) + 1.0; }

double revealScroll(double scroll, double view, double most, double top, double bottom, double margin)
{
    double to = scroll;
    if (top - margin < scroll)
        to = top - margin;
    else if (bottom + margin > scroll + view)
        to = std::min(bottom + margin - view, top - margin);
    return std::clamp(to, 0.0, std::max(most, 0.0));
}

QString versionText(const QString &applicationVersion)
{
    return QStringLiteral("v") + (applicationVersion.isEmpty() ? QStringLiteral("0.1.2") : applicationVersion);
}

std::optional<int> orderedPosition(const QList<HomeModule> &visible, const QList<HomeModule> &orderedEnabled,
                                   int visiblePosition)
{
    if (visible.isEmpty())
        return std::nullopt;
    const int t = std::clamp(visiblePosition, 0, int(visible.size()) - 1);
    const qsizetype at = orderedEnabled.indexOf(visible[t]);
    if (at < 0)
        return std::nullopt;
    return int(at);
}

namespace {
struct Pair {
    int position;
    QString id;
    Span span;
};

QList<Pair> pairsOf(const QStringList &ordered, const QHash<QString, Span> &spans)
{
    QList<Pair> pairs;
    for (int i = 0; i < ordered.size(); ++i) {
        auto it = spans.constFind(ordered[i]);
        if (it == spans.constEnd() || ordered.indexOf(ordered[i]) != i)
            continue;
        pairs.append({i, ordered[i], *it});
    }
    return pairs;
}
} // namespace

std::optional<int> targetIndex(double coordinate, const QStringList &ordered, const QHash<QString, Span> &spans,
                               const QString &self)
{
    const QList<Pair> pairs = pairsOf(ordered, spans);
    if (pairs.isEmpty())
        return std::nullopt;
    for (const Pair &p : pairs) {
        if (p.id != self && coordinate >= p.span.start && coordinate <= p.span.end)
            return p.position;
    }
    if (coordinate < pairs.first().span.start)
        return 0;
    if (coordinate > pairs.last().span.end)
        return pairs.last().position;
    return std::nullopt;
}

std::optional<int> stripTargetIndex(double x, const QStringList &ordered, const QHash<QString, Span> &spans,
                                    const QString &self)
{
    for (const Pair &p : pairsOf(ordered, spans)) {
        if (p.id != self && x >= p.span.start && x <= p.span.end)
            return p.position;
    }
    return std::nullopt;
}

JiggleParams jiggleParams(size_t seed)
{
    JiggleParams p;
    p.period = 0.11 + 0.012 * double(seed % 5);
    p.delay = 0.018 * double(seed % 7);
    return p;
}

JiggleParams jiggleParamsFor(const QString &id) { return jiggleParams(size_t(qHash(id))); }

SymbolStyle batteryStyle(int percent, bool charging, bool lowPower)
{
    if (lowPower)
        return {QStringLiteral("leaf.fill"), QColor::fromRgbF(1.0f, 0.74f, 0.22f), true};
    if (charging)
        return {QStringLiteral("bolt.fill"), Palette::greenColor, true};
    if (percent > 20 || percent < 0)
        return {QStringLiteral("battery.100"), Palette::textTertiaryColor, false};
    return {QStringLiteral("battery.100"), Palette::coralColor, true};
}

QString batteryText(int percent)
{
    return percent < 0 ? QString() : QString::number(percent) + QLatin1Char('%');
}

QString badgeText(int count, bool editing)
{
    if (editing || count <= 0)
        return {};
    return QString::number(std::min(count, 9));
}

bool stripIsMenu(int iconCount, bool editing) { return !editing && iconCount > 5; }

QColor chromeTint(ChromeIcon icon)
{
    switch (icon) {
    case ChromeIcon::canvas:
    case ChromeIcon::youtube: return Palette::redColor;
    case ChromeIcon::mirror:
    case ChromeIcon::compress: return Palette::mintColor;
    case ChromeIcon::findMy: return QColor::fromRgbF(0.22f, 0.82f, 0.40f);
    case ChromeIcon::games:
    case ChromeIcon::gameMode: return Palette::yellowColor;
    case ChromeIcon::calculator:
    case ChromeIcon::micCheck: return Palette::amberColor;
    case ChromeIcon::pocket:
    case ChromeIcon::voice: return Palette::coralColor;
    case ChromeIcon::spotify: return Palette::greenColor;
    case ChromeIcon::translator: return Palette::skyColor;
    }
    return Palette::skyColor;
}

QString chromeGlyph(ChromeIcon icon, bool gameModeOn, bool recording, bool cameraRunning)
{
    if (icon == ChromeIcon::gameMode && gameModeOn)
        return QStringLiteral("lock.fill");
    if (icon == ChromeIcon::voice && recording)
        return QStringLiteral("record.circle.fill");
    if (icon == ChromeIcon::mirror && cameraRunning)
        return QStringLiteral("person.crop.circle.fill");
    return ChromeIcons::symbol(icon);
}

bool chromeRemovable(ChromeIcon icon) { return HomeModules::isIconOnly(ChromeIcons::module(icon)); }

bool presetSelected(double presetSeconds, int minutes) { return int(std::trunc(presetSeconds / 60.0)) == minutes; }

bool showsMeridiem(bool use24Hour, bool clocksShowMeridiem) { return !use24Hour && clocksShowMeridiem; }

QColor cityColor(int index)
{
    static const QColor colors[] = {Palette::skyColor, Palette::amberColor, Palette::mintColor};
    return colors[((index % 3) + 3) % 3];
}

QString degrees(int value) { return QString::number(value) + QChar(0x00B0); }

QString highLowText(int high, int low)
{
    return QStringLiteral("H ") + degrees(high) + QStringLiteral("  L ") + degrees(low);
}

QString sunText(const QString &sunrise, const QString &sunset)
{
    return QStringLiteral("\u2191 ") + sunrise + QStringLiteral("  \u2193 ") + sunset;
}

bool showsReminder(bool optionOn, bool wantReminders, bool remindersGranted, bool hasReminder)
{
    return optionOn && wantReminders && remindersGranted && hasReminder;
}

QList<Meter> systemMeters(int cpu, int memory, const QString &diskFree, const QString &uptime, bool showCPU,
                          bool showMemory, bool showDisk, bool showUptime)
{
    QList<Meter> meters;
    if (showCPU)
        meters.append({QStringLiteral("CPU"), QString::number(cpu) + QLatin1Char('%'), Palette::yellowColor});
    if (showMemory)
        meters.append({QStringLiteral("MEM"), QString::number(memory) + QLatin1Char('%'), Palette::coralColor});
    if (showDisk)
        meters.append({QStringLiteral("DISK"), diskFree, Palette::mintColor});
    if (showUptime)
        meters.append({QStringLiteral("UP"), uptime, Palette::skyColor});
    return meters;
}

QString eyeStrainStatus(bool warning, bool tooClose, int minutesUntilBreak)
{
    if (warning)
        return QStringLiteral("Look 20 feet away for 20 seconds");
    if (tooClose)
        return QStringLiteral("You're sitting a little close");
    return QStringLiteral("Next break in %1m").arg(minutesUntilBreak);
}

bool eyeStrainAlert(bool warning, bool tooClose) { return warning || tooClose; }

QString pingText(const std::optional<double> &ms)
{
    return ms ? QString::asprintf("%.0f", *ms) : QStringLiteral("\u2014");
}

QString rateText(const std::optional<double> &mbps)
{
    if (!mbps)
        return QStringLiteral("\u2014");
    return *mbps >= 100 ? QString::asprintf("%.0f", *mbps) : QString::asprintf("%.1f", *mbps);
}

} // namespace HomeRules
