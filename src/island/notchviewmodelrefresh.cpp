// The refresh loop: the slow fetches at start, then one pass a second that
// copies every reading into the model when it changed.
#include "island/notchviewmodel.h"

#include "canvas/canvasrefresh.h"
#include "core/clock.h"
#include "island/islandlook.h"
#include "media/mirrorcamera.h"
#include "services/eyestrainguard.h"
#include "services/powermodemonitor.h"
#include "store/appsettings.h"
#include "store/permissioncenter.h"

#include <QPointer>

namespace {
const QString WantReminders = QStringLiteral("wantReminders");
const QString WantCalendar = QStringLiteral("wantCalendar");
const QString WantBluetooth = QStringLiteral("wantBluetooth");
const QString WantLocation = QStringLiteral("wantLocation");
} // namespace

void NotchViewModel::runRefreshLoop(std::shared_ptr<TaskHandle::State> loop)
{
    auto ticking = [this, loop] {
        if (loop->cancelled)
            return;
        tick();
        auto every = std::make_shared<TaskHandle>(m_scheduler->every(TickMs, [this] { tick(); }));
        loop->stop = [every] { every->cancel(); };
    };
    auto weather = [this, loop, ticking] {
        if (!loop->cancelled)
            refreshWeather(ticking);
    };
    refreshCalendarGrants();
    // Reminders first, then Canvas, then the weather, each waiting for the
    // one before.
    std::function<void(std::function<void()>)> reminders;
    if (want(WantReminders, true) && granted(AppPermission::reminders)) {
        reminders = [this, loop](std::function<void()> canvas) {
            refreshReminders([loop, canvas] {
                if (!loop->cancelled)
                    canvas();
            });
        };
    }
    if (loop->cancelled)
        return;
    m_canvasRefresh->refreshBetween(reminders, weather);
}

void NotchViewModel::refreshCalendarGrants()
{
    m_calendarStore->eventsGranted = granted(AppPermission::calendar);
    m_calendarStore->remindersGranted = granted(AppPermission::reminders);
}

void NotchViewModel::refreshReminders(std::function<void()> done)
{
    QPointer<NotchViewModel> self(this);
    m_calendarStore->refreshReminders([self, done = std::move(done)] {
        if (self && done)
            done();
    });
}

void NotchViewModel::tick()
{
    m_ticked = true;
    m_look->timePassed();
    if (m_gameModeOn && !moduleShown(HomeModule::gameMode)) {
        setGameModeOn(false);
        setGameModeHover(false);
        setGameModeToast(false);
    }

    tickNowPlaying();

    refreshCalendarGrants();
    // The calendar is read off the main thread; its answer is published
    // when it comes.
    if (want(WantCalendar, true) && granted(AppPermission::calendar)) {
        QPointer<NotchViewModel> self(this);
        m_calendarStore->refreshEvents(2, [self] {
            if (self)
                self->publishEvents(self->m_calendarStore->upcomingEvents());
        });
    } else {
        publishEvents({});
    }

    const std::optional<NextEvent> reminder = want(WantReminders, true) && granted(AppPermission::reminders)
        ? m_calendarStore->cachedReminder()
        : std::nullopt;
    assign(m_nextReminder, reminder, &NotchViewModel::nextReminderChanged);

    assign(m_battery, m_batteryMonitor->read(), &NotchViewModel::batteryChanged);

    // Only Home shows the machine's load and the network: the collapsed
    // island neither reads them nor asks the network stack, and leaving it
    // reads them at once (setState).
    if (m_state != NotchState::collapsed)
        readSystemAndNetwork();

    assign(m_clipboard, m_clipboardStore->poll(), &NotchViewModel::clipboardChanged);

    updateGreeting();
    m_canvasRefresh->timePassed();
    const qint64 now = m_clock->monotonicMs();
    // The slow fetches go by the wall clock: after a sleep they are due at
    // once, and a clock set back never holds them off.
    const qint64 wallNow = m_clock->nowMs();
    if (m_canvasRefresh->isDue())
        refreshCanvas();
    if (Clock::wallIntervalPassed(m_lastWeatherFetchMs, wallNow, WeatherEveryMs))
        refreshWeather();
    if (want(WantReminders, true) && granted(AppPermission::reminders)
        && (Clock::wallIntervalPassed(m_lastReminderFetchMs, wallNow, RemindersEveryMs)
            || m_calendarStore->calendarChanges() != m_remindersReadAt)) {
        // The calendars changed on disk: the to-dos are read again now.
        m_remindersReadAt = m_calendarStore->calendarChanges();
        m_lastReminderFetchMs = wallNow;
        refreshReminders();
    }

    if (want(WantBluetooth, true) && granted(AppPermission::bluetooth)) {
        m_bluetoothMonitor->refresh();
        setBluetoothDevices(m_bluetoothMonitor->devices());
    } else {
        setBluetoothDevices({});
    }

    const bool lowPower = m_powerMonitor->isLowPowerModeEnabled();
    if (lowPower != m_isLowPower)
        powerModeChanged(lowPower);

    if (m_settings->eyeStrainGuard()) {
        if (m_eyeStrain->tick())
            showAmbient({AmbientKind::eyeStrain, QStringLiteral("Give your eyes a break"),
                         QStringLiteral("Look 20 feet away for 20 seconds")});
        const bool tooClose = m_camera->isRunning() && m_camera->faceTooClose();
        m_eyeStrain->setTooClose(tooClose);
        if (tooClose && now - m_lastTooClosePulseMs > TooCloseEveryMs) {
            m_lastTooClosePulseMs = now;
            showAmbient({AmbientKind::tooClose, QStringLiteral("You're a little close"),
                         QStringLiteral("Sit back from the screen")});
        }
    }

    // Time alone can bring an event near enough to show.
    updateLiveActivity();
}

void NotchViewModel::readSystemAndNetwork()
{
    SystemSnapshot system;
    system.cpu = m_systemMonitor->cpuPercent();
    system.memory = m_systemMonitor->memoryPercent();
    system.diskFree = m_systemMonitor->diskFree();
    system.uptime = m_systemMonitor->uptime();
    assign(m_system, std::optional<SystemSnapshot>(system), &NotchViewModel::systemChanged);

    assign(m_network, std::optional<NetworkSnapshot>(m_networkStatus->snapshot()), &NotchViewModel::networkChanged);
}

void NotchViewModel::publishEvents(const QList<NextEvent> &events)
{
    assign(m_upcomingEvents, events, &NotchViewModel::upcomingEventsChanged);
    assign(m_nextEvent, events.isEmpty() ? std::optional<NextEvent>() : events.first(),
           &NotchViewModel::nextEventChanged);
}

void NotchViewModel::refreshWeather(std::function<void()> done)
{
    m_lastWeatherFetchMs = m_clock->nowMs();
    if (!(want(WantLocation, true) && granted(AppPermission::location))) {
        assign(m_weather, std::optional<WeatherInfo>(), &NotchViewModel::weatherChanged);
        if (done)
            done();
        return;
    }
    QPointer<NotchViewModel> self(this);
    m_weatherService->fetch(true, [self, done = std::move(done)](std::optional<WeatherInfo> weather) {
        if (!self)
            return;
        self->assign(self->m_weather, weather, &NotchViewModel::weatherChanged);
        if (done)
            done();
    });
}

void NotchViewModel::canvasCredentialsDidChange()
{
    m_canvasRefresh->credentialsChanged();
    refreshCanvas();
}

void NotchViewModel::permissionsDidChange()
{
    refreshCalendarGrants();
    applyPermissionPreferences();
    QPointer<NotchViewModel> self(this);
    refreshWeather([self] {
        if (self && self->want(WantReminders, true) && self->granted(AppPermission::reminders))
            self->refreshReminders();
    });
}

void NotchViewModel::refreshCanvas(std::function<void()> done)
{
    m_canvasRefresh->refresh(std::move(done));
}

void NotchViewModel::updateGreeting()
{
    assign(m_greeting, greeting(), &NotchViewModel::greetingChanged);
}

void NotchViewModel::connectCanvasRefresh()
{
    m_greeting = greeting();
    m_canvasLoading = m_canvasRefresh->isLoading();
    CanvasRefresh *refresh = m_canvasRefresh;
    connect(refresh, &CanvasRefresh::boardFetched, this,
            [this](const CanvasBoard &board, const std::optional<CanvasAssignment> &next) {
                assign(m_canvasBoard, board, &NotchViewModel::canvasBoardChanged);
                assign(m_nextAssignment, next, &NotchViewModel::nextAssignmentChanged);
            });
    connect(refresh, &CanvasRefresh::loadingChanged, this,
            [this](bool loading) { assign(m_canvasLoading, loading, &NotchViewModel::canvasLoadingChanged); });
    connect(this, &NotchViewModel::canvasUserNameChanged, this, &NotchViewModel::updateGreeting);
    connect(refresh, &CanvasRefresh::userNameFound, this, [this](const QString &name) {
        assign(m_canvasUserName, std::optional<QString>(name), &NotchViewModel::canvasUserNameChanged);
    });
    connect(refresh, &CanvasRefresh::userNameLost, this, [this] {
        if (m_canvasUserName) {
            m_canvasUserName.reset();
            emit canvasUserNameChanged();
        }
    });
    connect(refresh, &CanvasRefresh::statusChanged, this,
            [this](const QString &status) { m_settings->setCanvasStatus(status); });
    // The planner and the settings say the same when Canvas could not be
    // loaded; the next refresh that gets through gives the settings their
    // text back.
    connect(refresh, &CanvasRefresh::loadProblem, this, [this](const QString &problem) {
        if (!problem.isEmpty())
            m_settings->setCanvasProblem(problem);
        assign(m_canvasProblem, problem, &NotchViewModel::canvasProblemChanged);
    });
}
