#include "home/hometext.h"

#include "core/localeformats.h"
#include "style/palette.h"
#include "services/systemmonitor.h"
#include "tools/tooltypes.h"

#include <QLocale>
#include <cmath>

int HomeText::systemMeterCount(bool cpu, bool memory, bool disk, bool uptime)
{
    return int(HomeRules::systemMeters(0, 0, {}, {}, cpu, memory, disk, uptime).size());
}

SystemMeter HomeText::systemMeter(const QVariant &snapshot, bool cpu, bool memory, bool disk, bool uptime, int index)
{
    const auto s = snapshot.value<SystemSnapshot>();
    const QList<SystemMeter> meters = HomeRules::systemMeters(s.cpu, s.memory, s.diskFree, s.uptime, cpu, memory, disk, uptime);
    return index >= 0 && index < meters.size() ? meters[index] : SystemMeter{};
}

QList<QuickAction> HomeText::quickActions()
{
    return {{QStringLiteral("Screenshot"), QStringLiteral("camera.viewfinder")},
            {QStringLiteral("Password"), QStringLiteral("key.fill")},
            {QStringLiteral("Finder"), QStringLiteral("folder.fill")},
            {QStringLiteral("Safari"), QStringLiteral("safari")}};
}

QList<ClockCity> HomeText::shownClocks(const QVariantList &clocks)
{
    QList<ClockCity> out;
    for (const QVariant &c : clocks) {
        if (out.size() == HomeRules::MaxClocks)
            break;
        out.append(c.value<ClockCity>());
    }
    return out;
}

QString HomeText::shortTime(const QDateTime &time)
{
    const QLocale locale;
    return locale.toString(time.toLocalTime().time(), LocaleFormats::hourMinute(locale));
}

namespace {
std::optional<double> optionalOf(const QVariant &v)
{
    if (!v.isValid() || v.isNull())
        return std::nullopt;
    bool ok = false;
    const double d = v.toDouble(&ok);
    return ok ? std::optional<double>(d) : std::nullopt;
}
} // namespace

QString HomeText::pingText(const QVariant &ms) { return HomeRules::pingText(optionalOf(ms)); }
QString HomeText::rateText(const QVariant &mbps) { return HomeRules::rateText(optionalOf(mbps)); }

QString HomeText::speedStatus(int phase, const QString &failure)
{
    switch (Tools::SpeedTestPhase(phase)) {
    case Tools::SpeedTestPhase::done: return QStringLiteral("Cloudflare");
    case Tools::SpeedTestPhase::failed: return failure;
    default: return QStringLiteral("Ping, download, upload");
    }
}

QString HomeText::speedButton(int phase)
{
    return Tools::SpeedTestPhase(phase) == Tools::SpeedTestPhase::done ? QStringLiteral("Again") : QStringLiteral("Run");
}
