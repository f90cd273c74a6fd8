#pragma once

#include "store/clockcity.h"
#include "store/homemodule.h"
#include "store/permissioncenter.h"

#include <QColor>
#include <QDateTime>
#include <QObject>
#include <QSet>
#include <QStringList>
#include <QtQml/qqmlregistration.h>
#include <functional>

class AppNotifications;
class CanvasCredentialStore;
class UserDefaults;
namespace platform { class ILoginItem; }
class PermissionCenter;
class UpdateService;

// The one settings store: every user option, each kept in the user defaults
// under its own key, plus the Canvas fields of the settings window and the
// world-clock list. Writing the value an option already has changes
// nothing. A real change sends the option's own notice; a reader of many
// related options follows their group instead (moduleListsChanged(),
// islandFrameChanged(), permissionWishesChanged()).
class AppSettings : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Created by the application")
    Q_PROPERTY(bool showClockWhenIdle READ showClockWhenIdle WRITE setShowClockWhenIdle NOTIFY showClockWhenIdleChanged)
    Q_PROPERTY(QString notchTimeZone READ notchTimeZone WRITE setNotchTimeZone NOTIFY notchTimeZoneChanged)
    Q_PROPERTY(bool notchUse24Hour READ notchUse24Hour WRITE setNotchUse24Hour NOTIFY notchUse24HourChanged)
    Q_PROPERTY(bool showAmbientSmile READ showAmbientSmile WRITE setShowAmbientSmile NOTIFY showAmbientSmileChanged)
    Q_PROPERTY(bool showSystemHUD READ showSystemHUD WRITE setShowSystemHUD NOTIFY showSystemHUDChanged)
    Q_PROPERTY(bool expandOnHover READ expandOnHover WRITE setExpandOnHover NOTIFY expandOnHoverChanged)
    Q_PROPERTY(bool launchAtLogin READ launchAtLogin WRITE setLaunchAtLogin NOTIFY launchAtLoginChanged)
    Q_PROPERTY(QString scratchNote READ scratchNote WRITE setScratchNote NOTIFY scratchNoteChanged)
    Q_PROPERTY(QString disabledModules READ disabledModules WRITE setDisabledModules NOTIFY disabledModulesChanged)
    Q_PROPERTY(QString moduleOrder READ moduleOrder WRITE setModuleOrder NOTIFY moduleOrderChanged)
    Q_PROPERTY(bool eyeStrainGuard READ eyeStrainGuard WRITE setEyeStrainGuard NOTIFY eyeStrainGuardChanged)
    Q_PROPERTY(bool playerShowPlayBar READ playerShowPlayBar WRITE setPlayerShowPlayBar NOTIFY playerShowPlayBarChanged)
    Q_PROPERTY(bool playerShowVisualizer READ playerShowVisualizer WRITE setPlayerShowVisualizer NOTIFY playerShowVisualizerChanged)
    Q_PROPERTY(bool playerShowArtwork READ playerShowArtwork WRITE setPlayerShowArtwork NOTIFY playerShowArtworkChanged)
    Q_PROPERTY(bool playerShowSkip READ playerShowSkip WRITE setPlayerShowSkip NOTIFY playerShowSkipChanged)
    Q_PROPERTY(bool networkShowIP READ networkShowIP WRITE setNetworkShowIP NOTIFY networkShowIPChanged)
    Q_PROPERTY(bool weatherShowHighLow READ weatherShowHighLow WRITE setWeatherShowHighLow NOTIFY weatherShowHighLowChanged)
    Q_PROPERTY(bool weatherShowSun READ weatherShowSun WRITE setWeatherShowSun NOTIFY weatherShowSunChanged)
    Q_PROPERTY(bool calendarShowReminders READ calendarShowReminders WRITE setCalendarShowReminders NOTIFY calendarShowRemindersChanged)
    Q_PROPERTY(bool systemShowCPU READ systemShowCPU WRITE setSystemShowCPU NOTIFY systemShowCPUChanged)
    Q_PROPERTY(bool systemShowMemory READ systemShowMemory WRITE setSystemShowMemory NOTIFY systemShowMemoryChanged)
    Q_PROPERTY(bool systemShowDisk READ systemShowDisk WRITE setSystemShowDisk NOTIFY systemShowDiskChanged)
    Q_PROPERTY(bool systemShowUptime READ systemShowUptime WRITE setSystemShowUptime NOTIFY systemShowUptimeChanged)
    Q_PROPERTY(bool timerShowPresets READ timerShowPresets WRITE setTimerShowPresets NOTIFY timerShowPresetsChanged)
    Q_PROPERTY(bool clocksShowMeridiem READ clocksShowMeridiem WRITE setClocksShowMeridiem NOTIFY clocksShowMeridiemChanged)
    Q_PROPERTY(bool clipboardHideEmpty READ clipboardHideEmpty WRITE setClipboardHideEmpty NOTIFY clipboardHideEmptyChanged)
    Q_PROPERTY(bool bluetoothHideEmpty READ bluetoothHideEmpty WRITE setBluetoothHideEmpty NOTIFY bluetoothHideEmptyChanged)
    Q_PROPERTY(bool playerShowAlbum READ playerShowAlbum WRITE setPlayerShowAlbum NOTIFY playerShowAlbumChanged)
    Q_PROPERTY(bool hideNotchVersion READ hideNotchVersion WRITE setHideNotchVersion NOTIFY hideNotchVersionChanged)
    Q_PROPERTY(double lipOffsetX READ lipOffsetX WRITE setLipOffsetX NOTIFY lipOffsetXChanged)
    Q_PROPERTY(double lipOffsetY READ lipOffsetY WRITE setLipOffsetY NOTIFY lipOffsetYChanged)
    Q_PROPERTY(double lipDrop READ lipDrop WRITE setLipDrop NOTIFY lipDropChanged)
    Q_PROPERTY(double lipCornerRadius READ lipCornerRadius WRITE setLipCornerRadius NOTIFY lipCornerRadiusChanged)
    Q_PROPERTY(double lipEar READ lipEar WRITE setLipEar NOTIFY lipEarChanged)
    Q_PROPERTY(bool showDropShadow READ showDropShadow WRITE setShowDropShadow NOTIFY showDropShadowChanged)
    Q_PROPERTY(QString chromeIconOrder READ chromeIconOrder WRITE setChromeIconOrder NOTIFY chromeIconOrderChanged)
    Q_PROPERTY(double expandedOffsetX READ expandedOffsetX WRITE setExpandedOffsetX NOTIFY expandedOffsetXChanged)
    Q_PROPERTY(double expandedOffsetY READ expandedOffsetY WRITE setExpandedOffsetY NOTIFY expandedOffsetYChanged)
    Q_PROPERTY(bool floatingIsland READ floatingIsland WRITE setFloatingIsland NOTIFY floatingIslandChanged)
    Q_PROPERTY(bool includeInScreenCapture READ includeInScreenCapture WRITE setIncludeInScreenCapture NOTIFY includeInScreenCaptureChanged)
    Q_PROPERTY(bool useCustomAccent READ useCustomAccent WRITE setUseCustomAccent NOTIFY useCustomAccentChanged)
    Q_PROPERTY(QString skippedUpdateVersion READ skippedUpdateVersion WRITE setSkippedUpdateVersion NOTIFY skippedUpdateVersionChanged)
    Q_PROPERTY(QColor customAccent READ customAccent WRITE setCustomAccent NOTIFY customAccentChanged)
    Q_PROPERTY(QString canvasBaseURL READ canvasBaseURL WRITE setCanvasBaseURL NOTIFY canvasBaseURLChanged)
    Q_PROPERTY(QString canvasTokenDraft READ canvasTokenDraft WRITE setCanvasTokenDraft NOTIFY canvasTokenDraftChanged)
    Q_PROPERTY(QString canvasStatus READ canvasStatus WRITE setCanvasStatus NOTIFY canvasStatusChanged)
    Q_PROPERTY(CanvasSave canvasSaveState READ canvasSaveState NOTIFY canvasSaveStateChanged)
    // Whether canvasStatus tells of a failure (a save refused, a form the
    // store cannot take, Canvas not loaded): drawn as a warning.
    Q_PROPERTY(bool canvasStatusFailed READ canvasStatusFailed NOTIFY canvasStatusChanged)
    // Beside the status, while the token in use lasts only until quitting:
    // the line that says so; empty otherwise, and while the status says it.
    Q_PROPERTY(QString canvasTokenNote READ canvasTokenNote NOTIFY canvasTokenNoteChanged)
    Q_PROPERTY(QVariantList clocks READ clocksForQml NOTIFY clocksChanged)
    // Why the settings file cannot be written; empty while it can.
    Q_PROPERTY(QString storageProblem READ storageProblem NOTIFY storageProblemChanged)
    Q_PROPERTY(QString resetNotice READ resetNotice NOTIFY resetNoticeChanged)
    // Why the last launch-at-login change did not take; empty when it did.
    Q_PROPERTY(QString launchAtLoginProblem READ launchAtLoginProblem NOTIFY launchAtLoginProblemChanged)
    Q_PROPERTY(QStringList orderedEnabledModuleIDs READ orderedEnabledModuleIDs NOTIFY moduleListsChanged)
    Q_PROPERTY(QStringList visibleChromeIconIDs READ visibleChromeIconIDs NOTIFY moduleListsChanged)

public:
    // Where the last "Save token" stands: waiting for the secret store, or
    // refused by it (the status line then says the token was not saved).
    enum class CanvasSave { Idle, Saving, Failed };
    Q_ENUM(CanvasSave)

    static inline const QString CanvasSavingText = QStringLiteral("Saving token\u2026 waiting for the keyring");
    static inline const QString CanvasThisRunOnlyText =
        QStringLiteral("Token in use until you quit: no keyring kept it, so it will not be kept after quitting.");
    static inline const QString CanvasControlCharacterText =
        QStringLiteral("Token not saved: it holds a line break or another hidden character. Paste it again.");
    static inline const QString CanvasQueryText = QStringLiteral("School URL must be https:// with no ? or # part");

    // permissions may be null (no want-key migration then); loginItem may be
    // null (launch at login does nothing then). The Canvas fields fill in
    // once the credential store has read the stored credentials.
    AppSettings(UserDefaults *defaults, platform::ILoginItem *loginItem, PermissionCenter *permissions,
                CanvasCredentialStore *credentials, AppNotifications *notifications, QObject *parent = nullptr);

    bool showClockWhenIdle() const;
    void setShowClockWhenIdle(bool value);
    QString notchTimeZone() const;
    void setNotchTimeZone(const QString &value);
    bool notchUse24Hour() const;
    void setNotchUse24Hour(bool value);
    bool showAmbientSmile() const;
    void setShowAmbientSmile(bool value);
    bool showSystemHUD() const;
    void setShowSystemHUD(bool value);
    bool expandOnHover() const;
    void setExpandOnHover(bool value);
    bool launchAtLogin() const;
    void setLaunchAtLogin(bool value);
    QString scratchNote() const;
    void setScratchNote(const QString &value);
    QString disabledModules() const;
    void setDisabledModules(const QString &value);
    QString moduleOrder() const;
    void setModuleOrder(const QString &value);
    bool eyeStrainGuard() const;
    void setEyeStrainGuard(bool value);
    bool playerShowPlayBar() const;
    void setPlayerShowPlayBar(bool value);
    bool playerShowVisualizer() const;
    void setPlayerShowVisualizer(bool value);
    bool playerShowArtwork() const;
    void setPlayerShowArtwork(bool value);
    bool playerShowSkip() const;
    void setPlayerShowSkip(bool value);
    bool networkShowIP() const;
    void setNetworkShowIP(bool value);
    bool weatherShowHighLow() const;
    void setWeatherShowHighLow(bool value);
    bool weatherShowSun() const;
    void setWeatherShowSun(bool value);
    bool calendarShowReminders() const;
    void setCalendarShowReminders(bool value);
    bool systemShowCPU() const;
    void setSystemShowCPU(bool value);
    bool systemShowMemory() const;
    void setSystemShowMemory(bool value);
    bool systemShowDisk() const;
    void setSystemShowDisk(bool value);
    bool systemShowUptime() const;
    void setSystemShowUptime(bool value);
    bool timerShowPresets() const;
    void setTimerShowPresets(bool value);
    bool clocksShowMeridiem() const;
    void setClocksShowMeridiem(bool value);
    bool clipboardHideEmpty() const;
    void setClipboardHideEmpty(bool value);
    bool bluetoothHideEmpty() const;
    void setBluetoothHideEmpty(bool value);
    bool playerShowAlbum() const;
    void setPlayerShowAlbum(bool value);
    bool hideNotchVersion() const;
    void setHideNotchVersion(bool value);
    double lipOffsetX() const;
    void setLipOffsetX(double value);
    double lipOffsetY() const;
    void setLipOffsetY(double value);
    double lipDrop() const;
    void setLipDrop(double value);
    double lipCornerRadius() const;
    void setLipCornerRadius(double value);
    double lipEar() const;
    void setLipEar(double value);
    bool showDropShadow() const;
    void setShowDropShadow(bool value);
    QString chromeIconOrder() const;
    void setChromeIconOrder(const QString &value);
    double expandedOffsetX() const;
    void setExpandedOffsetX(double value);
    double expandedOffsetY() const;
    void setExpandedOffsetY(double value);
    bool floatingIsland() const;
    void setFloatingIsland(bool value);
    bool includeInScreenCapture() const;
    void setIncludeInScreenCapture(bool value);
    bool useCustomAccent() const;
    void setUseCustomAccent(bool value);
    QString skippedUpdateVersion() const;
    void setSkippedUpdateVersion(const QString &value);

    // The custom accent, opaque; a channel stored as NaN or infinity reads
    // as the default's. A pick writes its three channels at once (each under
    // a key of its own) and sends customAccentChanged() once.
    QColor customAccent() const;
    void setCustomAccent(const QColor &color);

    QString canvasBaseURL() const { return m_canvasBaseURL; }
    void setCanvasBaseURL(const QString &value);
    QString canvasTokenDraft() const { return m_canvasTokenDraft; }
    void setCanvasTokenDraft(const QString &value);
    QString canvasStatus() const { return m_canvasStatus; }
    // A status from elsewhere (the Canvas refresh) ends a failed save's
    // warning.
    void setCanvasStatus(const QString &value);
    // The same for a failure (Canvas could not be loaded).
    void setCanvasProblem(const QString &value);
    bool canvasStatusFailed() const { return m_canvasStatusFailed; }
    CanvasSave canvasSaveState() const { return m_canvasSave; }
    QString canvasTokenNote() const { return m_canvasTokenNote; }
    QString storageProblem() const;
    // After a damaged settings file was set aside: that the settings were
    // reset and where the old file is kept, until the user has seen it
    // (dismissResetNotice()); empty otherwise.
    QString resetNotice() const;
    Q_INVOKABLE void dismissResetNotice();
    QString launchAtLoginProblem() const { return m_launchAtLoginProblem; }

    QList<ClockCity> clocks() const { return m_clocks; }
    void setClocks(const QList<ClockCity> &clocks);
    QVariantList clocksForQml() const;
    static const QList<ClockCity> &defaultClocks();

    // Makes the login item match launchAtLogin.
    Q_INVOKABLE void applyLaunchAtLogin();
    // Stores clocks under "worldClocks".
    Q_INVOKABLE void saveClocks();
    // The island's time text in notchTimeZone, 24-hour or not.
    Q_INVOKABLE QString formatTime(const QDateTime &date, bool withWeekday) const;
    // Validates and stores the Canvas address and token, then announces it.
    // The status text follows once the secret store has answered.
    Q_INVOKABLE void saveCanvasCredentials();

    // Modules.
    QSet<QString> disabledModuleIDs() const;
    Q_INVOKABLE bool isModuleEnabled(const QString &id) const;
    bool isModuleEnabled(HomeModule module) const { return !disabledModuleIDs().contains(HomeModules::id(module)); }
    void setModule(HomeModule module, bool enabled);
    Q_INVOKABLE void setModuleEnabled(const QString &id, bool enabled);
    QList<HomeModule> orderedModules() const;
    QList<HomeModule> orderedEnabledModules() const;
    QStringList orderedEnabledModuleIDs() const;
    void moveModule(HomeModule module, int destination);
    Q_INVOKABLE void moveModule(const QString &id, int destination);
    QList<HomeModule> libraryModules() const;
    QList<HomeModule> shippedModules() const;
    QList<HomeModule> hiddenShippedModules() const;
    QList<ChromeIcon> orderedChromeIcons() const;
    QList<ChromeIcon> visibleChromeIcons() const;
    QStringList visibleChromeIconIDs() const;
    void moveChromeIcon(ChromeIcon icon, int destination);
    Q_INVOKABLE void moveChromeIcon(const QString &id, int destination);
    void runOptInModulesPass();
    void runLibraryModulesPass();
    void runShippedGamesPass();

    // Permission wishes: a real change sends permissionWishesChanged().
    void wantsPermission(AppPermission permission, bool value);
    void migratePermissionWants();

signals:
    // After disabledModules, moduleOrder or chromeIconOrder changed.
    void moduleListsChanged();
    // After an option that places, sizes or outlines the island's window
    // changed: the lip's offsets, drop, corner radius and ears, the drop
    // shadow, the expanded offsets and the floating island.
    void islandFrameChanged();
    // After a permission wish (a "want" key) changed.
    void permissionWishesChanged();
    void showClockWhenIdleChanged();
    void notchTimeZoneChanged();
    void notchUse24HourChanged();
    void showAmbientSmileChanged();
    void showSystemHUDChanged();
    void expandOnHoverChanged();
    void launchAtLoginChanged();
    void scratchNoteChanged();
    void disabledModulesChanged();
    void moduleOrderChanged();
    void eyeStrainGuardChanged();
    void playerShowPlayBarChanged();
    void playerShowVisualizerChanged();
    void playerShowArtworkChanged();
    void playerShowSkipChanged();
    void networkShowIPChanged();
    void weatherShowHighLowChanged();
    void weatherShowSunChanged();
    void calendarShowRemindersChanged();
    void systemShowCPUChanged();
    void systemShowMemoryChanged();
    void systemShowDiskChanged();
    void systemShowUptimeChanged();
    void timerShowPresetsChanged();
    void clocksShowMeridiemChanged();
    void clipboardHideEmptyChanged();
    void bluetoothHideEmptyChanged();
    void playerShowAlbumChanged();
    void hideNotchVersionChanged();
    void lipOffsetXChanged();
    void lipOffsetYChanged();
    void lipDropChanged();
    void lipCornerRadiusChanged();
    void lipEarChanged();
    void showDropShadowChanged();
    void chromeIconOrderChanged();
    void expandedOffsetXChanged();
    void expandedOffsetYChanged();
    void floatingIslandChanged();
    void includeInScreenCaptureChanged();
    void useCustomAccentChanged();
    void skippedUpdateVersionChanged();
    void customAccentChanged();
    void canvasBaseURLChanged();
    void canvasTokenDraftChanged();
    void canvasStatusChanged();
    void canvasSaveStateChanged();
    void canvasTokenNoteChanged();
    void clocksChanged();
    void storageProblemChanged();
    void resetNoticeChanged();
    void launchAtLoginProblemChanged();

private:
    void storeLaunchAtLogin(bool value);
    void runOnce(const QString &flag, const std::function<void(QSet<QString> &)> &change);
    void writeIdSet(const QString &key, const QSet<QString> &ids, bool announce);
    void loadClocks();
    void setCanvasSave(CanvasSave state, const QString &status, bool failed = false);
    void showCanvasStatus(const QString &value, bool failed);
    void updateCanvasTokenNote();
    void setLaunchAtLoginProblem(const QString &problem);

    bool m_resetNoticeSeen = false;
    UserDefaults *m_defaults;
    platform::ILoginItem *m_loginItem;
    PermissionCenter *m_permissions;
    CanvasCredentialStore *m_credentials;
    AppNotifications *m_notifications;
    QString m_canvasBaseURL;
    QString m_canvasTokenDraft;
    QString m_canvasTokenNote;
    QString m_canvasStatus;
    CanvasSave m_canvasSave = CanvasSave::Idle;
    bool m_canvasStatusFailed = false;
    QString m_launchAtLoginProblem;
    QList<ClockCity> m_clocks;
};

// The update check skips the version the settings hold, and a dismissed
// prompt stores its version there.
void bindSkippedUpdateVersion(AppSettings *settings, UpdateService *updates);
