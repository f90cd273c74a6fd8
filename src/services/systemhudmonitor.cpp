#include "services/systemhudmonitor.h"

#include "core/clock.h"
#include "core/logging.h"
#include "platform/audiooutput.h"
#include "platform/backlight.h"

#include <QtMath>
#include <algorithm>
#include <cmath>

namespace {

struct HotKeyRow {
    int id;
    int virtualKeyCode;
    int action;
};

// Registered in this order, without modifiers.
constexpr HotKeyRow hotKeyTable[] = {
    {1, 79, SystemHUDMonitor::VolumeUp},       // F18
    {2, 80, SystemHUDMonitor::VolumeDown},     // F19
    {3, 90, SystemHUDMonitor::MuteToggle},     // F20
    {4, 106, SystemHUDMonitor::BrightnessUp},  // F16
    {5, 64, SystemHUDMonitor::BrightnessDown}, // F17
};

// Function keys the tap acts on while the media keys are remapped.
std::optional<int> tapKeyAction(int virtualKeyCode)
{
    switch (virtualKeyCode) {
    case 79:
    case 72:
        return SystemHUDMonitor::VolumeUp;
    case 80:
    case 73:
        return SystemHUDMonitor::VolumeDown;
    case 90:
    case 74:
        return SystemHUDMonitor::MuteToggle;
    case 106:
        return SystemHUDMonitor::BrightnessUp;
    case 64:
        return SystemHUDMonitor::BrightnessDown;
    default:
        return std::nullopt;
    }
}

bool isMonitorKeyType(int type)
{
    return type == SystemHUDMonitor::VolumeUp || type == SystemHUDMonitor::VolumeDown
        || type == SystemHUDMonitor::BrightnessUp || type == SystemHUDMonitor::BrightnessDown
        || type == SystemHUDMonitor::MuteToggle;
}

double clamp01(double v)
{
    if (!(v > 0.0)) // also catches NaN
        return 0.0;
    return v > 1.0 ? 1.0 : v;
}

// A change counts when it reaches the threshold; the small allowance keeps
// values that are exactly a threshold apart from falling short by rounding.
bool belowThreshold(double delta, double threshold)
{
    return std::fabs(delta) < threshold - 1e-9;
}

// "0x" and upper-case hexadecimal digits without leading zeros.
QByteArray hex(quint64 v)
{
    return "0x" + QByteArray::number(v, 16).toUpper();
}

} // namespace

SystemHUDMonitor::SystemHUDMonitor(platform::IMediaKeyCapture *keys, platform::IAudioOutput *audio, platform::IBacklight *backlight,
                                   Clock *clock, Scheduler *scheduler, QObject *parent)
    : QObject(parent)
    , m_keys(keys)
    , m_audio(audio)
    , m_backlight(backlight)
    , m_clock(clock)
    , m_scheduler(scheduler)
{
}

SystemHUDMonitor::~SystemHUDMonitor()
{
    stop();
}

qint64 SystemHUDMonitor::now() const
{
    return m_clock->monotonicMs();
}

const QList<platform::KeyRemap> &SystemHUDMonitor::remapTable()
{
    static const QList<platform::KeyRemap> table = {
        {0xC000000E9, 0x70000006D},    // consumer volume increment -> F18
        {0xC000000EA, 0x70000006E},    // consumer volume decrement -> F19
        {0xC000000E2, 0x70000006F},    // consumer mute -> F20
        {0x700000080, 0x70000006D},    // keyboard volume up -> F18
        {0x700000081, 0x70000006E},    // keyboard volume down -> F19
        {0x70000007F, 0x70000006F},    // keyboard mute -> F20
        {0xC0000006F, 0x70000006B},    // consumer brightness increment -> F16
        {0xC00000070, 0x70000006C},    // consumer brightness decrement -> F17
        {0xFF0100000020, 0x70000006B}, // vendor 0xFF01 usage 0x20 -> F16
        {0xFF0100000021, 0x70000006C}, // vendor 0xFF01 usage 0x21 -> F17
        {0xFF00000004, 0x70000006B},   // vendor 0xFF usage 0x04 -> F16
        {0xFF00000005, 0x70000006C},   // vendor 0xFF usage 0x05 -> F17
    };
    return table;
}

QByteArray SystemHUDMonitor::keyRemapJson(const QList<platform::KeyRemap> &pairs)
{
    QByteArray json = "{\"UserKeyMapping\":[";
    for (qsizetype i = 0; i < pairs.size(); ++i) {
        if (i > 0)
            json += ',';
        json += "{\"HIDKeyboardModifierMappingSrc\":";
        json += hex(pairs[i].source);
        json += ",\"HIDKeyboardModifierMappingDst\":";
        json += hex(pairs[i].destination);
        json += '}';
    }
    json += "]}";
    return json;
}

// ---- start and stop --------------------------------------------------------

void SystemHUDMonitor::start()
{
    if (m_running)
        return;
    m_running = true;

    m_lastVolume = readVolume();
    m_lastMuted = readMuted();
    m_lastBrightness = currentBrightness();

    const bool remapPath = m_keys->keyRemap() != nullptr;
    if (remapPath) {
        m_keyRemapActive = applyKeyRemap(remapTable());
        m_lastRemapAt = now();
        if (m_keyRemapActive) {
            registerHotKeys();
            if (m_hotKeyRefs.isEmpty()) {
                // Remapped keys nobody could catch: give them back at once.
                m_keyRemapActive = false;
                applyKeyRemap({});
            }
        }
    }

    installEventTap();

    addDeviceListener();
    addVolumeListeners();
    startBrightnessPoll();

    if (!remapPath)
        startOSDWatchdog();
    killSystemOSD();
}

void SystemHUDMonitor::stop()
{
    m_running = false;
    m_brightnessTimer.cancel();
    m_osdWatchdog.cancel();
    m_repeatTimer.cancel();
    m_tapRetry.cancel();

    removeEventTap();
    unregisterHotKeys();

    if (m_keyRemapActive) {
        m_keyRemapActive = false;
        applyKeyRemap({});
    }

    removeAudioListeners();
    removeDeviceListener();
}

void SystemHUDMonitor::killSystemOSD()
{
    if (platform::ISystemKeyDisplay *display = m_keys->systemKeyDisplay())
        display->killSystemOSD();
}

bool SystemHUDMonitor::applyKeyRemap(const QList<platform::KeyRemap> &pairs)
{
    platform::IMediaKeyRemap *remap = m_keys->keyRemap();
    return remap && remap->applyKeyRemap(keyRemapJson(pairs));
}

bool SystemHUDMonitor::isKeyDown(int virtualKeyCode) const
{
    platform::IMediaKeyRemap *remap = m_keys->keyRemap();
    return remap && remap->isKeyDown(virtualKeyCode);
}

void SystemHUDMonitor::startOSDWatchdog()
{
    // Nothing to watch where the system has no display of its own to remove.
    if (!m_keys->systemKeyDisplay())
        return;
    killSystemOSD();
    m_osdWatchdog = m_scheduler->every(osdWatchdogMs, [this] { killSystemOSD(); });
}

// ---- hot keys --------------------------------------------------------------

void SystemHUDMonitor::registerHotKeys()
{
    platform::IMediaKeyRemap *remap = m_keys->keyRemap();
    if (!remap || !m_hotKeyRefs.isEmpty())
        return;
    if (!m_hotKeyHandlerInstalled) {
        if (!remap->installHotKeyHandler([this](int id) { hotKeyHandler(id); }))
            return;
        m_hotKeyHandlerInstalled = true;
    }
    for (const HotKeyRow &row : hotKeyTable) {
        if (remap->registerHotKey(row.id, row.virtualKeyCode))
            m_hotKeyRefs.append(row.id);
    }
}

void SystemHUDMonitor::unregisterHotKeys()
{
    platform::IMediaKeyRemap *remap = m_keys->keyRemap();
    for (int id : std::as_const(m_hotKeyRefs)) {
        if (remap)
            remap->unregisterHotKey(id);
    }
    m_hotKeyRefs.clear();
    if (m_hotKeyHandlerInstalled) {
        if (remap)
            remap->removeHotKeyHandler();
        m_hotKeyHandlerInstalled = false;
    }
}

void SystemHUDMonitor::hotKeyHandler(int id)
{
    dispatchHotKey(id);
}

void SystemHUDMonitor::dispatchHotKey(int id)
{
    for (const HotKeyRow &row : hotKeyTable) {
        if (row.id == id) {
            handleKeyAction(row.action);
            startKeyRepeat(row.action, row.virtualKeyCode);
            return;
        }
    }
}

void SystemHUDMonitor::startKeyRepeat(int action, int virtualKeyCode)
{
    m_repeatTimer.cancel();
    // Mute is a toggle: repeating it while the key is held would leave the
    // output in whatever state the last repeat happened to set.
    if (action == MuteToggle)
        return;
    m_repeatTimer = m_scheduler->after(repeatFirstMs, [this, action, virtualKeyCode] {
        if (!isKeyDown(virtualKeyCode)) {
            m_repeatTimer.cancel();
            return;
        }
        handleKeyAction(action);
        m_repeatTimer = m_scheduler->every(repeatEveryMs, [this, action, virtualKeyCode] {
            repeatFire(action, virtualKeyCode);
        });
    });
}

void SystemHUDMonitor::repeatFire(int action, int virtualKeyCode)
{
    if (!isKeyDown(virtualKeyCode)) {
        m_repeatTimer.cancel();
        return;
    }
    handleKeyAction(action);
}

void SystemHUDMonitor::stopKeyRepeat()
{
    m_repeatTimer.cancel();
}

// ---- event tap -------------------------------------------------------------

void SystemHUDMonitor::installEventTap()
{
    if (!m_running || m_tapInstalled)
        return;
    if (!m_keys->installTap([this](const platform::CapturedKey &key) { return eventTapCallback(key); })) {
        qCDebug(lcServices) << "media keys unavailable; retrying in" << tapRetryMs << "ms";
        retryEventTapLater();
        return;
    }
    m_tapInstalled = true;
}

void SystemHUDMonitor::retryEventTapLater()
{
    m_tapRetry = m_scheduler->after(tapRetryMs, [this] {
        if (m_running && !m_tapInstalled)
            installEventTap();
    });
}

void SystemHUDMonitor::removeEventTap()
{
    if (m_tapInstalled) {
        m_keys->removeTap();
        m_tapInstalled = false;
    }
}

bool SystemHUDMonitor::eventTapCallback(const platform::CapturedKey &key)
{
    if (key.kind == platform::CapturedKey::Kind::FunctionKey) {
        const std::optional<int> action = tapKeyAction(key.code);
        if (!action || !m_keyRemapActive)
            return false;
        if (key.down) {
            if (!(*action == MuteToggle && key.autoRepeat))
                handleKeyAction(*action);
        } else {
            stopKeyRepeat();
        }
        killSystemOSD();
        return true;
    }

    if (!isMonitorKeyType(key.code))
        return false;
    if (!m_keyRemapActive) {
        if (key.down) {
            // A held mute key toggles once, not on every system repeat.
            if (!(key.code == MuteToggle && key.autoRepeat))
                handleKeyAction(key.code);
        } else {
            stopKeyRepeat();
        }
    }
    killSystemOSD();
    return true;
}

// ---- key actions -----------------------------------------------------------

void SystemHUDMonitor::handleKeyAction(int action)
{
    const qint64 t = now();
    if (t - m_lastApplyAt < debounceMs)
        return;
    m_lastApplyAt = t;
    m_ignoreSystemUntil = t + echoWindowMs;

    switch (action) {
    case VolumeUp:
        stepVolume(step);
        break;
    case VolumeDown:
        stepVolume(-step);
        break;
    case MuteToggle:
        setMuted(!readMuted());
        break;
    case BrightnessUp:
        stepBrightness(step);
        break;
    case BrightnessDown:
        stepBrightness(-step);
        break;
    default:
        killSystemOSD();
        return;
    }

    if (action == VolumeUp || action == VolumeDown || action == MuteToggle) {
        m_lastVolume = readVolume();
        m_lastMuted = readMuted();
        emitPulse(SystemHUDKind::volume, *m_lastMuted, *m_lastVolume);
    } else {
        m_lastBrightness = currentBrightness();
        // A key press always answers; without a backlight at 0.
        emitPulse(SystemHUDKind::brightness, false, m_lastBrightness.value_or(0.0));
    }
    killSystemOSD();
}

// ---- audio -----------------------------------------------------------------

double SystemHUDMonitor::readVolume() const
{
    return clamp01(m_audio->volume().value_or(0.0));
}

bool SystemHUDMonitor::readMuted() const
{
    return m_audio->muted().value_or(false);
}

void SystemHUDMonitor::stepVolume(double by)
{
    // The first volume-up while muted only unmutes.
    if (by > 0 && readMuted()) {
        m_audio->setMuted(false);
        return;
    }
    // Step from the device's real level, which may be above full: a key
    // never pushes it past full, and raising never lowers it.
    const std::optional<double> read = m_audio->volume();
    const double real = read && std::isfinite(*read) && *read > 0.0 ? *read : 0.0;
    double target = real + by;
    if (by > 0)
        target = std::max(real, std::min(target, 1.0));
    else
        target = std::max(target, 0.0);
    if (read && target == real)
        return;
    m_audio->setVolume(target);
}

void SystemHUDMonitor::setMuted(bool muted)
{
    m_audio->setMuted(muted);
}

void SystemHUDMonitor::addDeviceListener()
{
    if (m_deviceListener)
        return;
    m_deviceListener = connect(m_audio, &platform::IAudioOutput::defaultDeviceChanged, this,
                               &SystemHUDMonitor::outputDeviceChanged);
}

void SystemHUDMonitor::removeDeviceListener()
{
    disconnect(m_deviceListener);
    m_deviceListener = {};
}

void SystemHUDMonitor::addVolumeListeners()
{
    m_outputDevice = m_audio->defaultDevice();
    if (m_outputDevice.isEmpty())
        return;
    m_volumeListener = connect(m_audio, &platform::IAudioOutput::volumeChanged, this, [this](const QString &device) {
        if (device == m_outputDevice)
            volumeChanged();
    });
}

void SystemHUDMonitor::removeAudioListeners()
{
    if (!m_outputDevice.isEmpty()) {
        disconnect(m_volumeListener);
        m_volumeListener = {};
        m_outputDevice.clear();
    }
}

void SystemHUDMonitor::outputDeviceChanged()
{
    removeAudioListeners();
    addVolumeListeners();
}

void SystemHUDMonitor::volumeChanged()
{
    if (now() <= m_ignoreSystemUntil)
        return;
    const double volume = readVolume();
    const bool muted = readMuted();
    const std::optional<double> previousVolume = m_lastVolume;
    const std::optional<bool> previousMuted = m_lastMuted;
    m_lastVolume = volume;
    m_lastMuted = muted;
    if (!previousVolume)
        return;
    if (belowThreshold(volume - *previousVolume, volumeThreshold) && previousMuted && muted == *previousMuted)
        return;
    emitPulse(SystemHUDKind::volume, muted, volume);
    killSystemOSD();
}

// ---- brightness ------------------------------------------------------------

std::optional<double> SystemHUDMonitor::currentBrightness() const
{
    const std::optional<double> b = m_backlight->brightness();
    if (!b)
        return std::nullopt;
    return clamp01(*b);
}

void SystemHUDMonitor::stepBrightness(double by)
{
    const double current = currentBrightness().value_or(0.0);
    m_backlight->setBrightness(clamp01(current + by));
}

void SystemHUDMonitor::startBrightnessPoll()
{
    m_brightnessTimer = m_scheduler->every(brightnessPollMs, [this] { brightnessTick(); });
}

void SystemHUDMonitor::brightnessTick()
{
    pollBrightness();
    if (!m_keys->keyRemap())
        return;
    const qint64 t = now();
    if (t - m_lastRemapAt > remapRefreshMs) {
        if (m_keyRemapActive)
            applyKeyRemap(remapTable());
        m_lastRemapAt = t;
    }
}

void SystemHUDMonitor::pollBrightness()
{
    if (now() <= m_ignoreSystemUntil)
        return;
    const std::optional<double> brightness = currentBrightness();
    if (!brightness)
        return;
    const std::optional<double> previous = m_lastBrightness;
    m_lastBrightness = brightness;
    if (!previous || belowThreshold(*brightness - *previous, brightnessThreshold))
        return;
    emitPulse(SystemHUDKind::brightness, false, *brightness);
    killSystemOSD();
}

void SystemHUDMonitor::emitPulse(SystemHUDKind kind, bool muted, double value)
{
    const SystemHUDPulse pulse{kind, value, muted};
    QMetaObject::invokeMethod(
        this,
        [this, pulse] { emit pulsed(pulse); },
        Qt::QueuedConnection);
}
