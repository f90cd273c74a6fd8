#include "store/homemodule.h"

#include "games/gameregistry.h"

#include <QHash>

namespace {

struct ModuleInfo {
    HomeModule module;
    const char *id;
    const char *title;
    const char *detail;
    const char *symbol;
    bool shipped;
    bool iconOnly;
    // Its card on Home, a QML file below home/; none for icon-only modules.
    const char *card;
};

const ModuleInfo kModules[] = {
    {HomeModule::player, "player", "Music Player", "Now playing, play bar, visualizer", "music.note", true, false,
     "modules/PlayerModule.qml"},
    {HomeModule::timer, "timer", "Timer", "Type a time, or 5 / 15 / 25", "timer", true, false,
     "modules/TimerModule.qml"},
    {HomeModule::clocks, "clocks", "World clocks", "Pacific, New York, London", "globe", true, false,
     "modules/ClocksModule.qml"},
    {HomeModule::weather, "weather", "Weather", "Temp, high/low, sunrise", "cloud.sun", true, false,
     "modules/WeatherModule.qml"},
    {HomeModule::calendar, "calendar", "Calendar", "Next event and reminder", "calendar", false, false,
     "modules/CalendarModule.qml"},
    {HomeModule::system, "system", "System", "CPU, memory, disk, uptime", "cpu", false, false,
     "modules/SystemModule.qml"},
    {HomeModule::network, "network", "Wi-Fi", "Network name and optional IP", "wifi", false, false,
     "modules/NetworkModule.qml"},
    {HomeModule::clipboard, "clipboard", "Clipboard", "Last 5 copies, tap to restore", "doc.on.clipboard", false, false,
     "modules/ClipboardModule.qml"},
    {HomeModule::notes, "notes", "Scratch pad", "A tiny note that stays", "note.text", false, false,
     "modules/NotesModule.qml"},
    {HomeModule::shortcuts, "shortcuts", "Quick actions", "Screenshot, password, apps", "square.grid.2x2", false, false,
     "modules/ShortcutsModule.qml"},
    {HomeModule::awake, "awake", "Keep awake", "Stop the display from sleeping", "cup.and.saucer.fill", false, false,
     "modules/AwakeModule.qml"},
    {HomeModule::quote, "quote", "Daily line", "One line for the day", "quote.opening", false, false,
     "modules/QuoteModule.qml"},
    {HomeModule::bluetooth, "bluetooth", "Bluetooth", "AirPods and other connections", "airpodspro", true, false,
     "modules/BluetoothModule.qml"},
    {HomeModule::eyeStrain, "eyeStrain", "Eye strain", "20-20-20 breaks, optional closeness", "eye", false, false,
     "modules/EyeStrainModule.qml"},
    {HomeModule::mirror, "mirror", "Mirror", "Front camera preview in the notch", "person.crop.circle", false, true, nullptr},
    {HomeModule::findMy, "findMy", "Find My", "Open Find My for devices and people", "location.circle", false, true, nullptr},
    {HomeModule::games, "games", "Games", "%1 games in the notch", "gamecontroller.fill", true, true, nullptr},
    {HomeModule::calculator, "calculator", "Calculator", "Full pad with fractions, in the notch", "plus.forwardslash.minus", false, true,
     nullptr},
    {HomeModule::speedTest, "speedTest", "Speed test", "Ping, download, and upload", "speedometer", false, false,
     "modules/SpeedTestModule.qml"},
    {HomeModule::pocket, "pocket", "Pocket", "Hold files in the notch, then drag them out", "tray.and.arrow.down.fill", true, true,
     nullptr},
    {HomeModule::gameMode, "gameMode", "Pavlet Lock", "Ctrl+Alt+G so hover won\u2019t open home", "lock.fill", false, true, nullptr},
    {HomeModule::youtube, "youtube", "YouTube save", "Paste a link, save MP4, MP3, or MOV", "play.rectangle.fill", false, false,
     "modules/YouTubeModule.qml"},
    {HomeModule::spotify, "spotify", "Spotify save", "Paste a link, save an MP3 to Downloads", "music.note.list", false, false,
     "modules/SpotifyModule.qml"},
    {HomeModule::compress, "compress", "Compress", "Zip files from the notch", "archivebox.fill", false, false,
     "modules/CompressModule.qml"},
    {HomeModule::voice, "voice", "Voice memos", "Rename, notes, favorites, save as MP3", "mic.fill", false, true, nullptr},
    {HomeModule::translator, "translator", "Translator", "Type in the notch, translation out", "character.book.closed.fill", false, true,
     nullptr},
    {HomeModule::micCheck, "micCheck", "Mic check", "Tones, record, and playback", "waveform", false, false,
     "modules/MicCheckModule.qml"},
    {HomeModule::canvas, "canvas", "Canvas", "Assignments from your school Canvas", "graduationcap.fill", false, true, nullptr},
};

struct IconInfo {
    ChromeIcon icon;
    const char *id;
    const char *title;
    const char *symbol;
    HomeModule module;
};

const IconInfo kIcons[] = {
    {ChromeIcon::canvas, "canvas", "Canvas", "graduationcap.fill", HomeModule::canvas},
    {ChromeIcon::mirror, "mirror", "Mirror", "person.crop.circle", HomeModule::mirror},
    {ChromeIcon::findMy, "findMy", "Find My", "location.circle.fill", HomeModule::findMy},
    {ChromeIcon::games, "games", "Games", "gamecontroller.fill", HomeModule::games},
    {ChromeIcon::calculator, "calculator", "Calculator", "plus.forwardslash.minus", HomeModule::calculator},
    {ChromeIcon::pocket, "pocket", "Pocket", "tray.and.arrow.down.fill", HomeModule::pocket},
    {ChromeIcon::youtube, "youtube", "YouTube save", "play.rectangle.fill", HomeModule::youtube},
    {ChromeIcon::spotify, "spotify", "Spotify save", "music.note.list", HomeModule::spotify},
    {ChromeIcon::compress, "compress", "Compress", "archivebox.fill", HomeModule::compress},
    {ChromeIcon::voice, "voice", "Voice memos", "mic.fill", HomeModule::voice},
    {ChromeIcon::translator, "translator", "Translator", "character.book.closed.fill", HomeModule::translator},
    {ChromeIcon::micCheck, "micCheck", "Mic check", "waveform", HomeModule::micCheck},
    {ChromeIcon::gameMode, "gameMode", "Pavlet Lock", "lock", HomeModule::gameMode},
};

const ModuleInfo &info(HomeModule m) { return kModules[int(m)]; }
const IconInfo &info(ChromeIcon i) { return kIcons[int(i)]; }

} // namespace

namespace HomeModules {

const QList<HomeModule> &all()
{
    static const QList<HomeModule> list = [] {
        QList<HomeModule> l;
        for (const auto &m : kModules)
            l << m.module;
        return l;
    }();
    return list;
}

QString id(HomeModule m) { return QString::fromLatin1(info(m).id); }

std::optional<HomeModule> fromId(const QString &id)
{
    static const QHash<QString, HomeModule> byId = [] {
        QHash<QString, HomeModule> h;
        for (const auto &m : kModules)
            h.insert(QString::fromLatin1(m.id), m.module);
        return h;
    }();
    const auto it = byId.constFind(id);
    if (it == byId.constEnd())
        return std::nullopt;
    return *it;
}

QString title(HomeModule m) { return QString::fromUtf8(info(m).title); }
QString detail(HomeModule m)
{
    const QString text = QString::fromUtf8(info(m).detail);
    // The games' line counts the arcade's games.
    return m == HomeModule::games ? text.arg(GameRegistry::countInWords()) : text;
}
QString symbol(HomeModule m) { return QString::fromLatin1(info(m).symbol); }
bool isShipped(HomeModule m) { return info(m).shipped; }
bool isIconOnly(HomeModule m) { return info(m).iconOnly; }
QUrl card(HomeModule m) { return info(m).card ? QUrl(QString::fromLatin1(info(m).card)) : QUrl(); }

} // namespace HomeModules

namespace ChromeIcons {

const QList<ChromeIcon> &all()
{
    static const QList<ChromeIcon> list = [] {
        QList<ChromeIcon> l;
        for (const auto &i : kIcons)
            l << i.icon;
        return l;
    }();
    return list;
}

QString id(ChromeIcon icon) { return QString::fromLatin1(info(icon).id); }

std::optional<ChromeIcon> fromId(const QString &id)
{
    for (const auto &i : kIcons) {
        if (id == QLatin1String(i.id))
            return i.icon;
    }
    return std::nullopt;
}

QString title(ChromeIcon icon) { return QString::fromLatin1(info(icon).title); }
QString symbol(ChromeIcon icon) { return QString::fromLatin1(info(icon).symbol); }
HomeModule module(ChromeIcon icon) { return info(icon).module; }

} // namespace ChromeIcons
