#pragma once

#include "canvas/canvasassignment.h"
#include "core/keyinput.h"
#include "core/scheduler.h"
#include "games/arcadeengine.h"
#include "games/gameregistry.h"
#include "island/islandmetrics.h"
#include "island/islandtypes.h"
#include "island/liveactivity.h"
#include "island/pointerpoll.h"
#include "media/nowplayinginfo.h"
#include "platform/platform.h"
#include "services/ambientpulse.h"
#include "services/batterymonitor.h"
#include "services/bluetoothmonitor.h"
#include "services/calendarstore.h"
#include "services/clipboardstore.h"
#include "services/networkstatus.h"
#include "services/systemhudpulse.h"
#include "services/systemmonitor.h"
#include "services/weatherservice.h"
#include "store/homemodule.h"
#include "tools/speedtestengine.h"
#include "tools/toolfolders.h"
#include "tools/translatorengine.h"

#include <QHash>
#include <QList>
#include <QMetaObject>
#include <QObject>
#include <QTimeZone>
#include <QUrl>
#include <QVariant>
#include <QtQml/qqmlregistration.h>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <vector>

class AppNotifications;
class AppSettings;
class Executor;
class ArtworkLoader;
class IslandLook;
class MirrorCamera;
class NowPlayingService;
class VoiceMemoEngine;
class CalculatorEngine;
class CanvasCredentialStore;
class CanvasRefresh;
class CanvasService;
class MediaDownloadEngine;
class PocketStore;
class UpdateService;
class Clock;
class PermissionCenter;
class QNetworkAccessManager;
class Random;
class UserDefaults;
enum class AppPermission;

class EyeStrainGuard;
class KeepAwake;
class PowerModeMonitor;
class SystemHUDMonitor;
class TimerStore;

// Everything the island's model is built from: the program's stores and
// time sources and the platform parts its services read. The composition root
// fills it with the real ones; tests with fakes.
struct IslandEnvironment {
    AppSettings *settings = nullptr;
    UpdateService *updater = nullptr;
    CanvasCredentialStore *credentials = nullptr;
    PermissionCenter *permissions = nullptr;
    UserDefaults *defaults = nullptr;
    Clock *clock = nullptr;
    Scheduler *scheduler = nullptr;
    Random *random = nullptr;
    AppNotifications *notifications = nullptr;
    QNetworkAccessManager *network = nullptr;
    // Where work away from the main thread runs; the shared pool when none.
    Executor *executor = nullptr;
    QUrl weatherBase = WeatherService::DefaultBase;
    QUrl translatorBase = TranslatorEngine::DefaultBase;
    SpeedTestConfig speedTest;
    // Where the pocket keeps its files and where downloads go.
    QString pocketFolder = ToolFolders::pocket();
    QString downloadsFolder = ToolFolders::downloads();
    // Where voice memos live, and where their MP3 copies go.
    QString memosFolder;
    QString exportFolder;
    // The zone that decides what "today" is for course work.
    QTimeZone timeZone = QTimeZone::systemTimeZone();

    // The machine's capabilities.
    Platform platform;
};

// The engines, stores and services the island reads and its panels show, as
// (type, name), in the order they are made. This is their one list: it gives
// IslandParts its fields, the model its members and IslandServices what it
// owns.
#define PAVLET_ISLAND_PARTS(X)                                                                                        \
    X(KeepAwake, keepAwake)                                                                                           \
    X(MirrorCamera, camera)                                                                                           \
    X(EyeStrainGuard, eyeStrain)                                                                                      \
    X(CalculatorEngine, calculator)                                                                                   \
    X(SpeedTestEngine, speedTest)                                                                                     \
    X(PocketStore, pocket)                                                                                            \
    X(VoiceMemoEngine, voice)                                                                                         \
    X(TranslatorEngine, translator)                                                                                   \
    X(MediaDownloadEngine, youtubeDown)                                                                               \
    X(MediaDownloadEngine, spotifyDown)                                                                               \
    X(ArtworkLoader, artworkLoader)                                                                                   \
    X(NowPlayingService, nowPlayingService)                                                                           \
    X(CalendarStore, calendarStore)                                                                                   \
    X(BatteryMonitor, batteryMonitor)                                                                                 \
    X(CanvasService, canvasService)                                                                                   \
    X(CanvasRefresh, canvasRefresh)                                                                                   \
    X(WeatherService, weatherService)                                                                                 \
    X(SystemMonitor, systemMonitor)                                                                                   \
    X(NetworkStatus, networkStatus)                                                                                   \
    X(ClipboardStore, clipboardStore)                                                                                 \
    X(BluetoothMonitor, bluetoothMonitor)                                                                             \
    X(PowerModeMonitor, powerMonitor)                                                                                 \
    X(SystemHUDMonitor, hudMonitor)                                                                                   \
    X(TimerStore, timer)

// What the island's model is handed: the parts above and every game's engine,
// made from GameRegistry's rows. The composition root makes them (tests: over
// fakes) and they outlive the model.
struct IslandParts {
#define PAVLET_ISLAND_PART_FIELD(Type, name) Type *name = nullptr;
    PAVLET_ISLAND_PARTS(PAVLET_ISLAND_PART_FIELD)
#undef PAVLET_ISLAND_PART_FIELD
    // In page order, the first game's first.
    QList<ArcadeEngine *> games;
};

// The island's one model: its state machine, the pulses and the live
// activity, game mode and the game keys, and the one-second refresh of every
// reading. It holds every engine, store and service the island's panels show,
// the games' engines among them, all handed to it (IslandParts).
// Main thread only.
//
// Published values notify only when they really change. The computed values
// follow the notices of what they are computed from; the engines and stores
// it holds announce their own changes.
class NotchViewModel : public QObject {
    Q_OBJECT
    Q_MOC_INCLUDE("island/islandlook.h")
    Q_MOC_INCLUDE("tools/calculatorengine.h")
    Q_MOC_INCLUDE("canvas/canvasservice.h")
    Q_MOC_INCLUDE("tools/mediadownloadengine.h")
    Q_MOC_INCLUDE("media/mirrorcamera.h")
    Q_MOC_INCLUDE("media/nowplayingservice.h")
    Q_MOC_INCLUDE("media/voicememoengine.h")
    Q_MOC_INCLUDE("tools/pocketstore.h")
    Q_MOC_INCLUDE("update/updateservice.h")
    Q_MOC_INCLUDE("services/timerstore.h")
    Q_MOC_INCLUDE("services/keepawake.h")
    Q_MOC_INCLUDE("services/eyestrainguard.h")
    QML_ELEMENT
    QML_UNCREATABLE("The window controller creates the island's model")

    Q_PROPERTY(Island::NotchState state READ state NOTIFY stateChanged)
    Q_PROPERTY(NowPlayingInfo nowPlaying READ nowPlaying NOTIFY nowPlayingChanged)
    Q_PROPERTY(QVariant nextEvent READ nextEventValue NOTIFY nextEventChanged)
    Q_PROPERTY(QVariant nextAssignment READ nextAssignmentValue NOTIFY nextAssignmentChanged)
    Q_PROPERTY(CanvasBoard canvasBoard READ canvasBoard NOTIFY canvasBoardChanged)
    Q_PROPERTY(QVariant battery READ batteryValue NOTIFY batteryChanged)
    Q_PROPERTY(QVariant weather READ weatherValue NOTIFY weatherChanged)
    Q_PROPERTY(QVariant canvasUserName READ canvasUserNameValue NOTIFY canvasUserNameChanged)
    Q_PROPERTY(QVariant system READ systemValue NOTIFY systemChanged)
    Q_PROPERTY(QVariant network READ networkValue NOTIFY networkChanged)
    Q_PROPERTY(ClipboardHistory clipboard READ clipboard NOTIFY clipboardChanged)
    Q_PROPERTY(QList<NextEvent> upcomingEvents READ upcomingEvents NOTIFY upcomingEventsChanged)
    Q_PROPERTY(QVariant nextReminder READ nextReminderValue NOTIFY nextReminderChanged)
    Q_PROPERTY(QString generatedPassword READ generatedPassword WRITE setGeneratedPassword NOTIFY generatedPasswordChanged)
    Q_PROPERTY(QVariant ambient READ ambientValue NOTIFY ambientChanged)
    Q_PROPERTY(QVariant hud READ hudValue NOTIFY hudChanged)
    Q_PROPERTY(QList<BluetoothDeviceInfo> bluetoothDevices READ bluetoothDevices NOTIFY bluetoothDevicesChanged)
    Q_PROPERTY(bool isLowPower READ isLowPower NOTIFY isLowPowerChanged)
    Q_PROPERTY(double notchHeight READ notchHeight WRITE setNotchHeight NOTIFY notchHeightChanged)
    Q_PROPERTY(bool usesFloatingIsland READ usesFloatingIsland WRITE setUsesFloatingIsland NOTIFY usesFloatingIslandChanged)
    Q_PROPERTY(double homeContentHeight READ homeContentHeight WRITE setHomeContentHeight NOTIFY homeContentHeightChanged)
    Q_PROPERTY(bool isEditingModules READ isEditingModules WRITE setEditingModules NOTIFY isEditingModulesChanged)
    Q_PROPERTY(bool isEditingIsland READ isEditingIsland WRITE setEditingIsland NOTIFY isEditingIslandChanged)
    Q_PROPERTY(Island::IslandEditPhase islandEditPhase READ islandEditPhase WRITE setIslandEditPhase NOTIFY islandEditPhaseChanged)
    Q_PROPERTY(Island::IslandEditPreview islandEditPreview READ islandEditPreview WRITE setIslandEditPreview NOTIFY islandEditPreviewChanged)
    Q_PROPERTY(Island::PavletGame activeGame READ activeGame NOTIFY activeGameChanged)
    Q_PROPERTY(bool fileDropTargeted READ fileDropTargeted WRITE setFileDropTargeted NOTIFY fileDropTargetedChanged)
    Q_PROPERTY(bool gameModeOn READ gameModeOn NOTIFY gameModeOnChanged)
    Q_PROPERTY(bool gameModeHover READ gameModeHover NOTIFY gameModeHoverChanged)
    Q_PROPERTY(bool gameModeToast READ gameModeToast NOTIFY gameModeToastChanged)

    // Values computed from the ones above.
    Q_PROPERTY(LiveActivity liveActivity READ liveActivity NOTIFY liveActivityChanged)
    Q_PROPERTY(bool hasCollapsedSideContent READ hasCollapsedSideContent NOTIFY hasCollapsedSideContentChanged)
    Q_PROPERTY(bool isPreviewingPlayer READ isPreviewingPlayer NOTIFY previewChanged)
    Q_PROPERTY(bool isPreviewingTimer READ isPreviewingTimer NOTIFY previewChanged)
    Q_PROPERTY(bool isPreviewingAmbient READ isPreviewingAmbient NOTIFY previewChanged)
    Q_PROPERTY(Ambient::AmbientKind showsAmbientOrCamera READ showsAmbientOrCamera NOTIFY showsAmbientOrCameraChanged)
    // Follows the name and the time of day as the clock moves on.
    Q_PROPERTY(QString greeting READ greeting NOTIFY greetingChanged)
    Q_PROPERTY(QString canvasFirstName READ canvasFirstName NOTIFY canvasUserNameChanged)
    // Whether a Canvas address and token are stored, as far as is known.
    Q_PROPERTY(bool canvasHasCredentials READ canvasHasCredentials NOTIFY canvasHasCredentialsChanged)
    // An address is stored and the keyring has not answered yet.
    Q_PROPERTY(bool canvasWaitingForKeyring READ canvasWaitingForKeyring NOTIFY canvasHasCredentialsChanged)
    Q_PROPERTY(QString canvasKeyringProblem READ canvasKeyringProblem NOTIFY canvasHasCredentialsChanged)
    // Why the last Canvas refresh did not get through, with when the board
    // shown was loaded; empty once one got through.
    Q_PROPERTY(QString canvasProblem READ canvasProblem NOTIFY canvasProblemChanged)
    // No board has come yet for the Canvas credentials in use.
    Q_PROPERTY(bool canvasLoading READ canvasLoading NOTIFY canvasLoadingChanged)

    // What the island's views show, worked out from all of the above.
    Q_PROPERTY(IslandLook *look READ look CONSTANT)

    // The engines, stores and services it holds.
    Q_PROPERTY(UpdateService *updater READ updater CONSTANT)
    Q_PROPERTY(MirrorCamera *camera READ camera CONSTANT)
    Q_PROPERTY(VoiceMemoEngine *voice READ voice CONSTANT)
    Q_PROPERTY(NowPlayingService *nowPlayingService READ nowPlayingService CONSTANT)
    Q_PROPERTY(TimerStore *timer READ timer CONSTANT)
    Q_PROPERTY(KeepAwake *keepAwake READ keepAwake CONSTANT)
    // The games' engines in page order (GameRegistry's), the first game's first.
    Q_PROPERTY(QList<QObject *> gameEngines READ gameEngines CONSTANT)
    Q_PROPERTY(EyeStrainGuard *eyeStrain READ eyeStrain CONSTANT)
    Q_PROPERTY(CalculatorEngine *calculator READ calculator CONSTANT)
    Q_PROPERTY(SpeedTestEngine *speedTest READ speedTest CONSTANT)
    Q_PROPERTY(PocketStore *pocket READ pocket CONSTANT)
    Q_PROPERTY(TranslatorEngine *translator READ translator CONSTANT)
    Q_PROPERTY(MediaDownloadEngine *youtubeDown READ youtubeDown CONSTANT)
    Q_PROPERTY(MediaDownloadEngine *spotifyDown READ spotifyDown CONSTANT)
    Q_PROPERTY(CanvasService *canvasService READ canvasService CONSTANT)

public:
    // Delays of the state machine and the pulses, in milliseconds.
    static constexpr int HoverOpenDelayMs = 30;
    static constexpr int HoverCloseDelayMs = 160;
    static constexpr int PanelCloseDelayMs = 240;
    static constexpr int ClickWindowMs = 220;
    static constexpr int ToastMs = 2400;
    static constexpr int HotkeyDebounceMs = 300;
    static constexpr int BluetoothPulseMs = 3200;
    static constexpr int PulseMs = 3800;
    static constexpr int HudHoldMs = 1550;
    static constexpr int HudSuppressEveryMs = 40;
    static constexpr int UpdateCheckDelayMs = 7000;
    static constexpr int TickMs = 1000;
    // Throttles of the slow refreshes (strictly more than).
    static constexpr qint64 WeatherEveryMs = 900 * 1000;
    static constexpr qint64 RemindersEveryMs = 300 * 1000;
    static constexpr qint64 TooCloseEveryMs = 40 * 1000;
    // A track's artwork is tried this many times per art address, a failed
    // try followed by another after the loader's pause.
    static constexpr int ArtworkTries = 3;
    static constexpr qint64 DistantPastMs = std::numeric_limits<qint64>::min() / 4;

    static inline const QString GameModeKey = QStringLiteral("pavlet.gameModeOn");
    static inline const QString SetupCompletedKey = QStringLiteral("permissionsSetupCompleted");

    NotchViewModel(const IslandEnvironment &env, const IslandParts &parts, QObject *parent = nullptr);
    ~NotchViewModel() override;

    // --- Published values.
    NotchState state() const { return m_state; }
    const NowPlayingInfo &nowPlaying() const { return m_nowPlaying; }
    const std::optional<CanvasAssignment> &nextAssignment() const { return m_nextAssignment; }
    const CanvasBoard &canvasBoard() const { return m_canvasBoard; }
    const std::optional<NextEvent> &nextEvent() const { return m_nextEvent; }
    const std::optional<BatteryInfo> &battery() const { return m_battery; }
    const std::optional<WeatherInfo> &weather() const { return m_weather; }
    const std::optional<QString> &canvasUserName() const { return m_canvasUserName; }
    const std::optional<SystemSnapshot> &system() const { return m_system; }
    const std::optional<NetworkSnapshot> &network() const { return m_network; }
    const ClipboardHistory &clipboard() const { return m_clipboard; }
    const QList<NextEvent> &upcomingEvents() const { return m_upcomingEvents; }
    const std::optional<NextEvent> &nextReminder() const { return m_nextReminder; }
    QString generatedPassword() const { return m_generatedPassword; }
    void setGeneratedPassword(const QString &value);
    const std::optional<AmbientPulse> &ambient() const { return m_ambient; }
    const std::optional<SystemHUDPulse> &hud() const { return m_hud; }
    const QList<BluetoothDeviceInfo> &bluetoothDevices() const { return m_bluetoothDevices; }
    bool isLowPower() const { return m_isLowPower; }
    double notchHeight() const { return m_notchHeight; }
    void setNotchHeight(double value);
    bool usesFloatingIsland() const { return m_usesFloatingIsland; }
    void setUsesFloatingIsland(bool value);
    double homeContentHeight() const { return m_homeContentHeight; }
    void setHomeContentHeight(double value);
    bool isEditingModules() const { return m_isEditingModules; }
    void setEditingModules(bool value);
    bool isEditingIsland() const { return m_isEditingIsland; }
    void setEditingIsland(bool value);
    IslandEditPhase islandEditPhase() const { return m_islandEditPhase; }
    void setIslandEditPhase(IslandEditPhase value);
    IslandEditPreview islandEditPreview() const { return m_islandEditPreview; }
    void setIslandEditPreview(IslandEditPreview value);
    PavletGame activeGame() const { return m_activeGame; }
    bool fileDropTargeted() const { return m_fileDropTargeted; }
    void setFileDropTargeted(bool value);
    bool gameModeOn() const { return m_gameModeOn; }
    bool gameModeHover() const { return m_gameModeHover; }
    bool gameModeToast() const { return m_gameModeToast; }

    // --- Computed values.
    LiveActivity liveActivity() const;
    bool hasCollapsedSideContent() const;
    bool isPreviewingPlayer() const { return isPreviewing(IslandEditPreview::player); }
    bool isPreviewingTimer() const { return isPreviewing(IslandEditPreview::timer); }
    bool isPreviewingAmbient() const { return isPreviewing(IslandEditPreview::ambient); }
    AmbientKind showsAmbientOrCamera() const;
    QString greeting() const;
    QString canvasFirstName() const;
    bool canvasHasCredentials() const;
    bool canvasWaitingForKeyring() const;
    // The keyring that holds the token is locked or missing ("" otherwise).
    QString canvasKeyringProblem() const;
    QString canvasProblem() const { return m_canvasProblem; }
    bool canvasLoading() const { return m_canvasLoading; }
    // What a Canvas refresh publishes, set directly.
    void setCanvasBoard(const CanvasBoard &board);
    void setCanvasUserName(const std::optional<QString> &name);

    // --- Engines, stores and services.
    IslandLook *look() const { return m_look.get(); }
    UpdateService *updater() const { return m_updater; }
    MirrorCamera *camera() const { return m_camera; }
    VoiceMemoEngine *voice() const { return m_voice; }
    NowPlayingService *nowPlayingService() const { return m_nowPlayingService; }
    // The artwork cache.
    ArtworkLoader *artworkLoader() const { return m_artworkLoader; }
    // Artwork lookups awaiting their answer (at most the playing track's).
    qsizetype artworkRequestsHeld() const { return m_artworkRequests.size(); }
    TimerStore *timer() const { return m_timer; }
    KeepAwake *keepAwake() const { return m_keepAwake; }
    QList<QObject *> gameEngines() const;
    // The engine of the game of type E.
    template<class E>
    E *game() const
    {
        for (ArcadeEngine *engine : m_games) {
            if (auto *e = qobject_cast<E *>(engine))
                return e;
        }
        return nullptr;
    }
    EyeStrainGuard *eyeStrain() const { return m_eyeStrain; }
    CalculatorEngine *calculator() const { return m_calculator; }
    SpeedTestEngine *speedTest() const { return m_speedTest; }
    PocketStore *pocket() const { return m_pocket; }
    TranslatorEngine *translator() const { return m_translator; }
    MediaDownloadEngine *youtubeDown() const { return m_youtubeDown; }
    MediaDownloadEngine *spotifyDown() const { return m_spotifyDown; }
    CanvasService *canvasService() const { return m_canvasService; }
    CalendarStore *calendarStore() const { return m_calendarStore; }
    BatteryMonitor *batteryMonitor() const { return m_batteryMonitor; }
    WeatherService *weatherService() const { return m_weatherService; }
    SystemMonitor *systemMonitor() const { return m_systemMonitor; }
    NetworkStatus *networkStatus() const { return m_networkStatus; }
    ClipboardStore *clipboardStore() const { return m_clipboardStore; }
    BluetoothMonitor *bluetoothMonitor() const { return m_bluetoothMonitor; }
    PowerModeMonitor *powerMonitor() const { return m_powerMonitor; }
    SystemHUDMonitor *hudMonitor() const { return m_hudMonitor; }

    // The window controller's test of whether the pointer is over the island.
    void setPointerInsideTest(std::function<bool()> test);
    // What the delayed hover step is waiting to do.
    PendingHover pendingHover() const { return m_hoverTask.isActive() ? m_hoverKind : PendingHover::none; }
    // The pointer rests inside an open island: a pending close is void.
    void cancelPendingExit();
    // The pointer rests on a panel: whatever the hover step was about to do
    // is void.
    Q_INVOKABLE void cancelHoverTask();
    bool isPointerInside() const { return m_isPointerInside ? m_isPointerInside() : false; }
    // Keeps the island open while the token lives (a card's dialog is up):
    // the pointer leaving and clicks elsewhere do not close it. Once the last
    // token goes, an island the pointer has left closes as usual.
    std::shared_ptr<void> holdOpen();
    bool isHeldOpen() const { return m_holds > 0; }
    // A click on the closed island waits out the double-click window before
    // it opens Home (or the planner, for a double click).
    bool hasPendingClick() const { return m_pendingClicks > 0; }

    // --- Start-up.
    void start();
    void stop();
    bool isStarted() const { return m_started; }
    void applyPermissionPreferences();
    Q_INVOKABLE void copyToClipboard(const ClipboardItem &item);
    // Quick actions of the Home panel.
    Q_INVOKABLE void takeScreenshot();
    Q_INVOKABLE void openShortcutApp(const QString &bundleIdentifier);
    // A new password, kept in generatedPassword and put on the clipboard as
    // the island's own copy (the clipboard history does not record it).
    Q_INVOKABLE void generatePasswordToClipboard();
    Q_INVOKABLE QString quoteOfTheDay() const;
    // The hover island's join action: opens the event's meeting address.
    Q_INVOKABLE void joinEvent(const NextEvent &event);
    // Hands a web address from outside data to the desktop; only http and
    // https addresses are opened. False when refused or not handed on.
    bool openWebAddress(const QUrl &url);
    // Opens an assignment's page; without one, the next assignment's.
    void openAssignment(const std::optional<CanvasAssignment> &assignment = std::nullopt);
    Q_INVOKABLE void openAssignment(const QVariant &assignment);

    // --- State machine.
    Q_INVOKABLE void setState(Island::NotchState state);
    void pointerEntered();
    void pointerExited();
    void islandClicked();
    Q_INVOKABLE void openHome();
    Q_INVOKABLE void collapse();
    void showUpdate();
    // The update prompt's "Later": ends the prompt and closes the island.
    Q_INVOKABLE void dismissUpdate();
    void updatePromptChanged();
    Q_INVOKABLE void openCanvas();
    Q_INVOKABLE void openGames();
    Q_INVOKABLE void openCalculator();
    Q_INVOKABLE void openPocketPanel();
    Q_INVOKABLE void openPocket();
    Q_INVOKABLE void openVoice();
    Q_INVOKABLE void openTranslator();
    void openMirror();
    void mirrorStarted();
    void mirrorGaveUp();
    // Hands dropped files to the pocket and shows it, while the pocket is
    // shown; true when every file was held.
    bool addDroppedFilesToPocket(const QList<QUrl> &urls);
    // The pocket panel's "Clipboard": holds the clipboard and shows the
    // pocket, while the pocket is shown.
    Q_INVOKABLE void holdClipboardInPocket();
    // A file drag entered (true) or left (false) the island: it opens the
    // pocket and lights its drop card while the pocket module is shown.
    void pocketDragTargeted(bool entered);
    void openChromeIcon(ChromeIcon icon);
    Q_INVOKABLE void openChromeIcon(const QString &id);
    Q_INVOKABLE void openSettings(const QString &page = QString());
    // After the module lists changed: a panel whose module went hidden gives
    // way to Home.
    void leaveHiddenPanels();
    bool gameModeHotkeyPressed();
    Q_INVOKABLE void toggleGameMode();
    void setGameModeOn(bool on);
    void showGameModeToast();

    // --- Pulses.
    void showAmbient(const AmbientPulse &pulse);
    void bluetoothConnected(const QString &name);
    void bluetoothDisconnected(const QString &name);
    void powerModeChanged(bool lowPower);
    void handleHUD(const SystemHUDPulse &pulse);
    void applyHUDSetting();

    // --- Games.
    Q_INVOKABLE void openGame(Island::PavletGame game);
    void stopAllGames();
    bool handleGameKey(const KeyInput &key);
    // The engine of a game; none for the hub.
    ArcadeEngine *gameEngine(PavletGame game) const;

    // --- Refresh.
    void tick();
    void refreshCanvas(std::function<void()> done = {});
    void refreshWeather(std::function<void()> done = {});
    void canvasCredentialsDidChange();
    void permissionsDidChange();
    void loadArtwork(const NowPlayingInfo &info);
    Q_INVOKABLE void togglePlayPause();
    // Re-read the player shortly after a skip: next calls the first,
    // previous the second; both look again after 280 ms and after 1080 ms.
    Q_INVOKABLE void refreshNowPlayingSoon();
    Q_INVOKABLE void refreshNowPlayingSoonAlt();
    // The track an artwork answer must still match.
    static QString trackKey(const NowPlayingInfo &info);

signals:
    void stateChanged();
    void nowPlayingChanged();
    void nextAssignmentChanged();
    void canvasBoardChanged();
    void nextEventChanged();
    void batteryChanged();
    void weatherChanged();
    void canvasUserNameChanged();
    void systemChanged();
    void networkChanged();
    void clipboardChanged();
    void upcomingEventsChanged();
    void nextReminderChanged();
    void generatedPasswordChanged();
    void ambientChanged();
    void hudChanged();
    void bluetoothDevicesChanged();
    void isLowPowerChanged();
    void notchHeightChanged();
    void usesFloatingIslandChanged();
    void homeContentHeightChanged();
    void isEditingModulesChanged();
    void isEditingIslandChanged();
    void islandEditPhaseChanged();
    void islandEditPreviewChanged();
    void activeGameChanged();
    void fileDropTargetedChanged();
    void gameModeOnChanged();
    void gameModeHoverChanged();
    void gameModeToastChanged();
    void liveActivityChanged();
    void hasCollapsedSideContentChanged();
    void previewChanged();
    void showsAmbientOrCameraChanged();
    void canvasHasCredentialsChanged();
    void canvasProblemChanged();
    void canvasLoadingChanged();
    void greetingChanged();

private:
    // Stores value and announces it when it differs.
    template<typename T>
    void assign(T &field, const T &value, void (NotchViewModel::*notify)())
    {
        if (field == value)
            return;
        field = value;
        emit(this->*notify)();
    }
    // The computed values, each worked out again from the notices of what it
    // reads and announced when it changed.
    void followComputedInputs();
    void updateLiveActivity();
    void updateSideContent();
    void updatePreviews();
    void updateGlow();
    bool isPreviewing(IslandEditPreview preview) const;

    QVariant nextEventValue() const;
    QVariant nextAssignmentValue() const;
    QVariant batteryValue() const;
    QVariant weatherValue() const;
    QVariant canvasUserNameValue() const;
    QVariant systemValue() const;
    QVariant networkValue() const;
    QVariant nextReminderValue() const;
    QVariant ambientValue() const;
    QVariant hudValue() const;

    bool moduleShown(HomeModule module) const;
    bool granted(AppPermission permission) const;
    bool want(const QString &key, bool fallback) const;
    void setActiveGame(PavletGame game);
    void setGameModeHover(bool value);
    void setGameModeToast(bool value);
    void setAmbient(const std::optional<AmbientPulse> &pulse);
    void setHud(const std::optional<SystemHUDPulse> &pulse);
    void setBluetoothDevices(const QList<BluetoothDeviceInfo> &devices);
    // What every switch to a panel does first.
    void beginPanelSwitch();
    // Opens the panel of a shown module, or goes Home when it is open
    // already; true when it opened.
    bool enterPanel(NotchState state, HomeModule module);
    void leaveForHomeWhenHidden(NotchState state, HomeModule module);
    void hudDismissStep(const SystemHUDPulse &pulse, qint64 deadlineMs);
    void setBluetoothOn(bool on);
    void refreshCalendarGrants();
    void publishEvents(const QList<NextEvent> &events);
    // The readings only Home shows (the machine's load, the network).
    void readSystemAndNetwork();
    void refreshReminders(std::function<void()> done = {});
    void runRefreshLoop(std::shared_ptr<TaskHandle::State> loop);
    void tickNowPlaying();
    void artworkArrived(const QString &cacheKey, const QImage &image);
    void artworkFailed(const QString &cacheKey);
    void connectCanvasRefresh();
    // Announces the greeting when it reads otherwise than last time.
    void updateGreeting();
    void tickSoon(const QList<int> &delaysMs);

    bool updateWantsPrompt() const;

    IslandEnvironment m_env;
    AppSettings *m_settings;
    UpdateService *m_updater;
    PermissionCenter *m_permissions;
    UserDefaults *m_defaults;
    Clock *m_clock;
    Scheduler *m_scheduler;

    // The engines, stores and services it is handed, in the order they are
    // made.
#define PAVLET_ISLAND_PART_MEMBER(Type, name) Type *m_##name;
    PAVLET_ISLAND_PARTS(PAVLET_ISLAND_PART_MEMBER)
#undef PAVLET_ISLAND_PART_MEMBER

    // Published values, in their order.
    NotchState m_state = NotchState::collapsed;
    NowPlayingInfo m_nowPlaying;
    std::optional<NextEvent> m_nextEvent;
    std::optional<CanvasAssignment> m_nextAssignment;
    CanvasBoard m_canvasBoard;
    std::optional<BatteryInfo> m_battery;
    std::optional<WeatherInfo> m_weather;
    std::optional<QString> m_canvasUserName;
    QString m_canvasProblem;
    bool m_canvasLoading = true;
    // The greeting last announced.
    QString m_greeting;
    std::optional<SystemSnapshot> m_system;
    std::optional<NetworkSnapshot> m_network;
    ClipboardHistory m_clipboard;
    QList<NextEvent> m_upcomingEvents;
    std::optional<NextEvent> m_nextReminder;
    QString m_generatedPassword;
    std::optional<AmbientPulse> m_ambient;
    std::optional<SystemHUDPulse> m_hud;
    QList<BluetoothDeviceInfo> m_bluetoothDevices;
    bool m_isLowPower = false;
    double m_notchHeight = IslandMetrics::plainNotch.height();
    bool m_usesFloatingIsland = false;
    double m_homeContentHeight = 0;
    bool m_isEditingModules = false;
    bool m_isEditingIsland = false;
    IslandEditPhase m_islandEditPhase = IslandEditPhase::hang;
    IslandEditPreview m_islandEditPreview = IslandEditPreview::idle;
    PavletGame m_activeGame = PavletGame::hub;
    bool m_fileDropTargeted = false;
    bool m_gameModeOn = false;
    bool m_gameModeHover = false;
    bool m_gameModeToast = false;

    // Computed values as last announced.
    LiveActivity m_lastLiveActivity;
    bool m_lastSideContent = false;
    bool m_lastPreviewPlayer = false;
    bool m_lastPreviewTimer = false;
    bool m_lastPreviewAmbient = false;
    AmbientKind m_lastGlow = AmbientKind::rest;

    // Every game's engine, in page order.
    QList<ArcadeEngine *> m_games;
    // Last: it reads every object above and goes first.
    std::unique_ptr<IslandLook> m_look;

    // Bookkeeping.
    TaskHandle m_hoverTask;
    PendingHover m_hoverKind = PendingHover::none;
    TaskHandle m_tickTask;
    // Whether the refresh loop has made its first pass.
    bool m_ticked = false;
    TaskHandle m_clickTask;
    int m_pendingClicks = 0;
    int m_holds = 0;
    qint64 m_lastWeatherFetchMs = DistantPastMs;
    qint64 m_lastReminderFetchMs = DistantPastMs;
    quint64 m_remindersReadAt = 0;
    std::function<bool()> m_isPointerInside;
    // The last artwork lookup: the track and its art address, how often it
    // was tried, and when to try again after a failure (-1: not).
    QString m_lastArtworkKey;
    int m_artworkTries = 0;
    qint64 m_artworkRetryAtMs = -1;
    QList<QMetaObject::Connection> m_monitorConnections;
    QMetaObject::Connection m_credentialsObserver;
    QMetaObject::Connection m_permissionsObserver;
    TaskHandle m_ambientTask;
    TaskHandle m_hudTask;
    TaskHandle m_gameModeToastTask;
    qint64 m_lastGameModeHotkeyMs = DistantPastMs;
    TaskHandle m_updateCheckTask;
    qint64 m_lastTooClosePulseMs = DistantPastMs;
    // Artwork asked for: the cache key it answers under, and the track. Only
    // the playing track's lookup is kept.
    QHash<QString, QString> m_artworkRequests;
    // Follow-up refreshes after a media command.
    std::vector<TaskHandle> m_followUps;
    bool m_started = false;
    bool m_bluetoothOn = false;
};
