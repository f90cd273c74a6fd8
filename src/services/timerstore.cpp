#include "services/timerstore.h"

#include "core/clock.h"
#include "core/userdefaults.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int TickMs = 250;

double clampPreset(double seconds)
{
    return std::clamp(seconds, TimerStore::MinPreset, TimerStore::MaxPreset);
}

bool isAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// A decimal integer: ASCII digits with an optional leading sign. None when
// the text is not one or the value does not fit 64 bits.
std::optional<qint64> decimalInteger(QStringView text)
{
    if (text.isEmpty())
        return std::nullopt;
    bool negative = false;
    if (text.front() == QLatin1Char('+') || text.front() == QLatin1Char('-')) {
        negative = text.front() == QLatin1Char('-');
        text = text.mid(1);
    }
    if (text.isEmpty())
        return std::nullopt;
    qint64 value = 0;
    for (QChar c : text) {
        if (!isAsciiDigit(c))
            return std::nullopt;
        const int digit = c.unicode() - '0';
        if (__builtin_mul_overflow(value, qint64(10), &value)
            || __builtin_sub_overflow(value, qint64(digit), &value))
            return std::nullopt;
    }
    // Accumulated as a negative number so that the minimum fits too.
    if (!negative && __builtin_mul_overflow(value, qint64(-1), &value))
        return std::nullopt;
    return value;
}

// total += value * unit, none on overflow.
bool addScaled(qint64 &total, qint64 value, qint64 unit)
{
    qint64 scaled = 0;
    return !__builtin_mul_overflow(value, unit, &scaled) && !__builtin_add_overflow(total, scaled, &total);
}

} // namespace

TimerStore::TimerStore(std::optional<double> preset, UserDefaults *defaults, Clock *clock, Scheduler *scheduler,
                       QObject *parent)
    : QObject(parent)
    , m_defaults(defaults)
    , m_clock(clock)
    , m_scheduler(scheduler)
{
    double initial = DefaultPreset;
    if (preset)
        initial = *preset;
    else if (m_defaults->contains(PresetKey))
        initial = m_defaults->doubleValue(PresetKey, DefaultPreset);
    if (!std::isfinite(initial))
        initial = DefaultPreset;
    m_preset = clampPreset(initial);
    m_remaining = m_preset;
    m_lastAtPreset = isAtPreset();
}

std::optional<qint64> TimerStore::endDateMs() const
{
    // The end is kept on the boot clock, which runs on while the machine
    // sleeps but never jumps, so that setting the wall clock neither
    // stretches nor cuts the countdown; the wall clock only says when that is.
    if (!m_endMs)
        return std::nullopt;
    return m_clock->nowMs() + (*m_endMs - m_clock->bootMs());
}

QString TimerStore::display() const
{
    const qint64 s = std::max<qint64>(0, std::llround(std::min(m_remaining, 1e15)));
    return QString::asprintf("%lld:%02lld", s / 60, s % 60);
}

bool TimerStore::isAtPreset() const
{
    return m_remaining <= 0 || std::abs(m_remaining - m_preset) < 0.5;
}

void TimerStore::start()
{
    if (m_remaining <= 0)
        setRemaining(m_preset);
    m_endMs = m_clock->bootMs() + qint64(std::llround(m_remaining * 1000.0));
    setRunning(true);
    m_tick = m_scheduler->every(TickMs, [this] {
        if (!m_isRunning) {
            stopTicking();
            return;
        }
        update();
    });
    update();
}

void TimerStore::update()
{
    if (!m_isRunning || !m_endMs)
        return;
    const double left = std::max(double(*m_endMs - m_clock->bootMs()) / 1000.0, 0.0);
    if (left <= 0) {
        m_endMs.reset();
        stopTicking();
        setRemaining(0);
        setRunning(false);
        return;
    }
    setRemaining(left);
}

void TimerStore::pause()
{
    update();
    m_endMs.reset();
    stopTicking();
    setRunning(false);
}

void TimerStore::reset()
{
    m_endMs.reset();
    stopTicking();
    setRunning(false);
    setRemaining(m_preset);
}

void TimerStore::setPreset(double seconds)
{
    if (std::isnan(seconds))
        return;
    const double value = clampPreset(seconds);
    m_defaults->setDouble(PresetKey, value);
    if (value != m_preset) {
        m_preset = value;
        emit presetChanged();
    }
    if (!m_isRunning)
        setRemaining(m_preset);
    else if (isAtPreset() != m_lastAtPreset) {
        m_lastAtPreset = isAtPreset();
        emit atPresetChanged();
    }
}

void TimerStore::setDuration(double seconds)
{
    if (m_isRunning || !(seconds > 0))
        return;
    if (isAtPreset())
        setPreset(seconds);
    else
        setRemaining(clampPreset(seconds));
}

void TimerStore::adjust(int minutes)
{
    if (m_isRunning)
        return;
    const double delta = double(minutes) * 60.0;
    if (isAtPreset())
        setPreset(m_preset + delta);
    else
        setRemaining(std::clamp(m_remaining + delta, 1.0, MaxPreset));
}

void TimerStore::setRemaining(double value)
{
    if (value != m_remaining) {
        m_remaining = value;
        emit remainingChanged();
    }
    if (isAtPreset() != m_lastAtPreset) {
        m_lastAtPreset = isAtPreset();
        emit atPresetChanged();
    }
}

void TimerStore::setRunning(bool value)
{
    if (value == m_isRunning)
        return;
    m_isRunning = value;
    emit isRunningChanged();
}

void TimerStore::stopTicking()
{
    // Cancelling from inside the task itself is safe: the handle only marks
    // the task cancelled.
    m_tick.cancel();
}

std::optional<double> TimerStore::parseDuration(const QString &input)
{
    QString text = input.toLower();
    text.replace(QChar(0xFF1A), QLatin1Char(':'));
    static const std::pair<const char *, const char *> words[] = {
        {"hours", "h"},   {"hour", "h"},   {"minutes", "m"}, {"minute", "m"}, {"mins", "m"},
        {"min", "m"},     {"seconds", "s"}, {"second", "s"},  {"secs", "s"},   {"sec", "s"},
    };
    for (const auto &[word, unit] : words)
        text.replace(QLatin1String(word), QLatin1String(unit));
    text.removeIf([](QChar c) { return c.isSpace(); });
    if (text.isEmpty())
        return std::nullopt;

    if (text.contains(QLatin1Char(':'))) {
        const QStringList pieces = text.split(QLatin1Char(':'));
        std::vector<qint64> values;
        for (const QString &piece : pieces) {
            const auto value = decimalInteger(piece);
            if (!value)
                return std::nullopt;
            values.push_back(*value);
        }
        qint64 total = 0;
        if (values.size() == 3) {
            const qint64 h = values[0], m = values[1], s = values[2];
            if (h < 0 || m < 0 || m > 59 || s < 0 || s > 59)
                return std::nullopt;
            if (!addScaled(total, h, 3600) || !addScaled(total, m, 60) || !addScaled(total, s, 1))
                return std::nullopt;
            return double(total);
        }
        if (values.size() == 2) {
            const qint64 m = values[0], s = values[1];
            if (m < 0 || s < 0 || s > 59)
                return std::nullopt;
            if (!addScaled(total, m, 60) || !addScaled(total, s, 1))
                return std::nullopt;
            return double(total);
        }
        return std::nullopt;
    }

    if (std::all_of(text.begin(), text.end(), isAsciiDigit)) {
        if (const auto minutes = decimalInteger(text)) {
            qint64 total = 0;
            if (!addScaled(total, *minutes, 60))
                return std::nullopt;
            return double(total);
        }
    }

    qint64 total = 0;
    QString buffer;
    bool sawUnit = false;
    for (QChar c : std::as_const(text)) {
        if (isAsciiDigit(c)) {
            buffer.append(c);
            continue;
        }
        qint64 unit = 0;
        if (c == QLatin1Char('h'))
            unit = 3600;
        else if (c == QLatin1Char('m'))
            unit = 60;
        else if (c == QLatin1Char('s'))
            unit = 1;
        else
            return std::nullopt;
        const auto value = decimalInteger(buffer);
        if (!value || !addScaled(total, *value, unit))
            return std::nullopt;
        buffer.clear();
        sawUnit = true;
    }
    if (!buffer.isEmpty()) {
        const auto minutes = decimalInteger(buffer);
        if (!minutes || !addScaled(total, *minutes, 60))
            return std::nullopt;
    }
    if (!sawUnit || total < 1)
        return std::nullopt;
    return double(total);
}
