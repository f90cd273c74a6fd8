#include "appfixture.h"
#include "core/appnotifications.h"
#include "fakes/fakewindowparts.h"
#include "home/homemodel.h"
#include "notch/islandeditcontroller.h"
#include "settings/modulespresenter.h"
#include "settings/permissionspresenter.h"
#include "support/islandtest.h"
#include "support/signaltally.h"
#include "support/smallfilesystem.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QMetaProperty>
#include <QSignalSpy>
#include <QTimeZone>

using AppSettingsTest = AppFixture;

TEST_F(AppSettingsTest, FreshInstallReadsDefaultsWithoutWritingOptions)
{
    AppSettings &s = settings();
    EXPECT_TRUE(s.showClockWhenIdle());
    EXPECT_FALSE(s.showSystemHUD());
    EXPECT_TRUE(s.floatingIsland());
    EXPECT_DOUBLE_EQ(s.lipDrop(), 16.0);
    EXPECT_DOUBLE_EQ(s.lipEar(), 32.0);
    EXPECT_NEAR(s.customAccent().greenF(), 0.8, 1e-4);
    EXPECT_EQ(s.notchTimeZone(), "");
    // Only the module passes write anything at start: no option key exists.
    for (const char *key : {"showClockWhenIdle", "ambientSmileEnabled", "lipDrop", "worldClocks", "launchAtLogin"})
        EXPECT_FALSE(defaults->contains(key)) << key;
    EXPECT_EQ(s.canvasStatus(), "Not connected");
    EXPECT_EQ(s.canvasBaseURL(), "");
    ASSERT_EQ(s.clocks().size(), 3);
    EXPECT_EQ(s.clocks()[0].label, "Pacific");
    EXPECT_EQ(s.clocks()[2].timeZone, "Europe/London");
}

TEST_F(AppSettingsTest, OptionsPersistUnderTheirKeysAndSendTheirOwnNotice)
{
    AppSettings &s = settings();
    SignalTally sent;
    sent.watch(&s, "s");
    s.setShowAmbientSmile(true); // kept under a key of its own
    EXPECT_TRUE(defaults->boolValue("ambientSmileEnabled"));
    EXPECT_EQ(sent.counts(), (std::map<std::string, int>{{"s.showAmbientSmileChanged", 1}}));
    sent.clear();
    s.setExpandOnHover(true);
    s.setScratchNote("milk");
    s.setSkippedUpdateVersion("1.2");
    EXPECT_EQ(sent.counts(), (std::map<std::string, int>{
                                 {"s.expandOnHoverChanged", 1}, {"s.scratchNoteChanged", 1},
                                 {"s.skippedUpdateVersionChanged", 1}}));
    sent.clear();
    s.setLipDrop(20.5); // and the island's frame group
    EXPECT_EQ(sent.counts(), (std::map<std::string, int>{{"s.lipDropChanged", 1}, {"s.islandFrameChanged", 1}}));
    auto reopened = reopenDefaults();
    EXPECT_EQ(reopened->typeOf("lipDrop"), UserDefaults::Type::Double);
    EXPECT_DOUBLE_EQ(reopened->doubleValue("lipDrop"), 20.5);
    EXPECT_EQ(reopened->stringValue("scratchNote"), "milk");
}

TEST_F(AppSettingsTest, WritingTheSameValueAgainWritesAndAnnouncesNothing)
{
    AppSettings &s = settings();
    s.setLipDrop(20.0);
    s.setScratchNote("milk");
    ASSERT_TRUE(defaults->flush());
    QFile::remove(defaults->path()); // any write would bring it back

    SignalTally sent;
    sent.watch(&s, "s");
    QSignalSpy stored(defaults.get(), &UserDefaults::changed);
    for (int i = 0; i < 3; ++i) {
        s.setLipDrop(20.0);
        s.setScratchNote("milk");
        s.setCanvasBaseURL("");
        s.setClocks(s.clocks());
    }
    EXPECT_TRUE(defaults->flush());
    EXPECT_FALSE(QFile::exists(defaults->path()));
    EXPECT_EQ(sent.counts(), (std::map<std::string, int>{}));
    EXPECT_EQ(stored.count(), 0);
}

TEST_F(AppSettingsTest, ChangesOfOneTurnReachTheDiskInOneWrite)
{
    AppSettings &s = settings();
    QCoreApplication::processEvents(); // the module passes' write
    QFile::remove(defaults->path());
    for (int step = 1; step <= 50; ++step)
        s.setLipDrop(step); // a slider being dragged
    s.setScratchNote("typed");
    EXPECT_FALSE(QFile::exists(defaults->path())) << "nothing is written while the turn lasts";
    QCoreApplication::processEvents();
    ASSERT_TRUE(QFile::exists(defaults->path()));
    auto reopened = reopenDefaults();
    EXPECT_DOUBLE_EQ(reopened->doubleValue("lipDrop"), 50.0);
    EXPECT_EQ(reopened->stringValue("scratchNote"), "typed");
}

TEST_F(AppSettingsTest, CanvasFieldsAndClocksSendOnlyTheirOwnNotices)
{
    AppSettings &s = settings();
    SignalTally sent;
    sent.watch(&s, "s");
    s.setCanvasBaseURL("school.edu");
    s.setCanvasTokenDraft("t");
    s.setCanvasStatus("Checking");
    QList<ClockCity> cities = s.clocks();
    cities.removeLast();
    s.setClocks(cities);
    EXPECT_EQ(sent.counts(), (std::map<std::string, int>{{"s.canvasBaseURLChanged", 1},
                                                         {"s.canvasTokenDraftChanged", 1},
                                                         {"s.canvasStatusChanged", 1},
                                                         {"s.clocksChanged", 1}}));
}

// A pick is one value: one accent notice, and nothing else.
TEST_F(AppSettingsTest, CustomAccentPickStoresTheColourComponentsWithOneNotice)
{
    AppSettings &s = settings();
    SignalTally sent;
    sent.watch(&s, "s");
    s.setCustomAccent(QColor::fromRgbF(0.25f, 0.5f, 1.0f, 0.3f));
    EXPECT_EQ(sent.counts(), (std::map<std::string, int>{{"s.customAccentChanged", 1}}));
    s.setCustomAccent(QColor::fromRgbF(0.25f, 0.5f, 1.0f));
    s.setUseCustomAccent(true);
    EXPECT_EQ(sent.counts(), (std::map<std::string, int>{{"s.customAccentChanged", 1},
                                                         {"s.useCustomAccentChanged", 1}}));
    EXPECT_NEAR(defaults->doubleValue("customAccentR"), 0.25, 1e-3);
    EXPECT_NEAR(defaults->doubleValue("customAccentG"), 0.5, 1e-3);
    EXPECT_NEAR(defaults->doubleValue("customAccentB"), 1.0, 1e-3);
    EXPECT_FLOAT_EQ(s.customAccent().alphaF(), 1.0f);
}

TEST_F(AppSettingsTest, WorldClocksDecodeOrFallBackToTheDefaults)
{
    struct Case {
        const char *stored;
        int expected; // -1: the defaults
        const char *firstLabel;
    };
    const Case cases[] = {
        {"[]", -1, "Pacific"},
        {"not json", -1, "Pacific"},
        {R"([{"label":"Tokyo","timeZone":"Asia/Tokyo"}])", 1, "Tokyo"},
        {R"([{"id":"5C1B9C8A-5E0E-4C4B-9B8B-1D5B1E1F7E01","label":"Paris","timeZone":"Europe/Paris"},
             {"timeZone":"Asia/Tokyo"}])", -1, "Pacific"},
        {R"([{"id":"5C1B9C8A-5E0E-4C4B-9B8B-1D5B1E1F7E01","label":"Paris"}])", -1, "Pacific"},
    };
    for (const Case &c : cases) {
        defaults->setData("worldClocks", QByteArray(c.stored));
        restart();
        AppSettings &s = settings();
        ASSERT_EQ(s.clocks().size(), c.expected < 0 ? 3 : c.expected) << c.stored;
        EXPECT_EQ(s.clocks()[0].label, c.firstLabel) << c.stored;
        EXPECT_EQ(defaults->dataValue("worldClocks"), QByteArray(c.stored)) << "left untouched";
    }
}

TEST_F(AppSettingsTest, SavedClocksRoundTripWithTheirIds)
{
    AppSettings &s = settings();
    QList<ClockCity> cities{{QUuid::createUuid(), "Tokyo", "Asia/Tokyo"}};
    s.setClocks(cities);
    EXPECT_FALSE(defaults->contains("worldClocks")); // setting alone does not save
    s.saveClocks();
    restart();
    ASSERT_EQ(settings().clocks().size(), 1);
    EXPECT_EQ(settings().clocks()[0], cities[0]);
    const QByteArray json = defaults->dataValue("worldClocks");
    EXPECT_TRUE(json.contains("\"timeZone\":\"Asia/Tokyo\""));
    EXPECT_TRUE(json.contains(cities[0].id.toString(QUuid::WithoutBraces).toUpper().toUtf8()));
}

TEST_F(AppSettingsTest, FormatTimeFollowsTheClockOptions)
{
    AppSettings &s = settings();
    // Monday 5 January 2026, 13:05 in London.
    const QDateTime at(QDate(2026, 1, 5), QTime(13, 5), QTimeZone("Europe/London"));
    s.setNotchTimeZone("Europe/London");
    s.setNotchUse24Hour(true);
    EXPECT_EQ(s.formatTime(at, false), "13:05");
    EXPECT_EQ(s.formatTime(at, true), "Mon 13:05");
    s.setNotchUse24Hour(false);
    EXPECT_EQ(s.formatTime(at, false), "1:05 PM");
    EXPECT_EQ(s.formatTime(at, true), "Mon 1:05 PM");
    s.setNotchTimeZone("Asia/Tokyo");
    EXPECT_EQ(s.formatTime(at, false), "10:05 PM");
    s.setNotchTimeZone("Mars/Olympus_Mons");
    EXPECT_EQ(s.formatTime(at, false),
              QLocale::c().toString(at.toTimeZone(QTimeZone::systemTimeZone()), "h:mm AP"));
}

TEST_F(AppSettingsTest, ClockCityTextsUseTheCityZone)
{
    const QDateTime at(QDate(2026, 1, 5), QTime(13, 5), QTimeZone("Europe/London"));
    const ClockCity tokyo{QUuid::createUuid(), "Tokyo", "Asia/Tokyo"};
    EXPECT_EQ(tokyo.timeText(at, true), "22:05");
    EXPECT_EQ(tokyo.timeText(at, false), "10:05");
    const ClockCity midnight{QUuid::createUuid(), "X", "Europe/London"};
    EXPECT_EQ(midnight.timeText(QDateTime(QDate(2026, 1, 5), QTime(0, 30), QTimeZone("Europe/London")), false), "12:30");
    EXPECT_EQ(tokyo.amPmText(at), QLocale().pmText().toLower());

    // One digit set, the locale's, in both forms.
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::Arabic, QLocale::Egypt));
    const QString ten = QLocale().toString(10), five = QLocale().toString(5), zero = QLocale().toString(0);
    const QString twentyTwo = QLocale().toString(22);
    EXPECT_EQ(tokyo.timeText(at, false), ten + ":" + zero + five);
    EXPECT_EQ(tokyo.timeText(at, true), twentyTwo + ":" + zero + five);
    EXPECT_NE(ten, "10"); // the locale's own digits really are other digits
    QLocale::setDefault(saved);
}

TEST_F(AppSettingsTest, SavingCanvasCredentials)
{
    AppSettings &s = settings();
    QSignalSpy posted(&notifications, &AppNotifications::canvasCredentialsChanged);

    // A scheme other than http(s) is refused and nothing is stored.
    s.setCanvasBaseURL("ftp://school.instructure.com");
    s.setCanvasTokenDraft("abc");
    s.saveCanvasCredentials();
    EXPECT_EQ(s.canvasStatus(), "School URL must be https://");
    EXPECT_EQ(s.canvasTokenDraft(), "abc");
    EXPECT_TRUE(secrets.items.isEmpty());
    EXPECT_EQ(posted.count(), 0);

    // http is upgraded, the token goes to the keychain, the draft is cleared.
    s.setCanvasBaseURL(" http://school.instructure.com/ ");
    s.setCanvasTokenDraft("  tok123\n");
    s.saveCanvasCredentials();
    EXPECT_EQ(s.canvasBaseURL(), "https://school.instructure.com");
    EXPECT_EQ(s.canvasStatus(), "Token saved on this computer");
    EXPECT_EQ(s.canvasTokenDraft(), "");
    EXPECT_EQ(storedToken(), "tok123");
    EXPECT_EQ(defaults->stringValue("canvasBaseURL"), "https://school.instructure.com");
    EXPECT_EQ(posted.count(), 1);

    // An empty draft keeps the token already saved.
    s.saveCanvasCredentials();
    EXPECT_EQ(storedToken(), "tok123");
    EXPECT_EQ(s.canvasStatus(), "Token saved on this computer");

    // After a restart the stored credentials load.
    restart();
    EXPECT_EQ(settings().canvasStatus(), "Token loaded");
    EXPECT_EQ(settings().canvasBaseURL(), "https://school.instructure.com");
}

TEST_F(AppSettingsTest, SavingAnEmptyAddressWithoutATokenIsNotConnected)
{
    AppSettings &s = settings();
    s.setCanvasBaseURL("   ");
    s.saveCanvasCredentials();
    EXPECT_EQ(s.canvasStatus(), "Not connected");
    EXPECT_EQ(defaults->stringValue("canvasBaseURL", "absent"), "");
    // An address saved without a token shows again after a restart.
    s.setCanvasBaseURL("school.example.edu");
    s.saveCanvasCredentials();
    EXPECT_EQ(defaults->stringValue("canvasBaseURL"), "https://school.example.edu");
    restart();
    EXPECT_EQ(settings().canvasBaseURL(), "https://school.example.edu");
    EXPECT_EQ(settings().canvasStatus(), "Not connected");
}

TEST_F(AppSettingsTest, ALockedKeyringAtStartNeverCostsTheStoredToken)
{
    storeToken("tok123");
    defaults->setString("canvasBaseURL", "https://school.instructure.com");
    secrets.unavailable = true; // still locked when the program starts
    AppSettings &s = settings();
    EXPECT_EQ(s.canvasStatus(), "Not connected");

    // Saving with an empty token field while the keyring stays locked keeps
    // the token.
    s.saveCanvasCredentials();
    EXPECT_EQ(storedToken(), "tok123");
    EXPECT_EQ(s.canvasStatus(), "Not connected");

    // Once unlocked, the next save finds it again instead of deleting it.
    secrets.unavailable = false;
    s.saveCanvasCredentials();
    EXPECT_EQ(storedToken(), "tok123");
    EXPECT_EQ(s.canvasStatus(), "Token saved on this computer");
}

TEST_F(AppSettingsTest, LaunchAtLoginFollowsTheOptionAndLogsFailures)
{
    AppSettings &s = settings();
    s.setLaunchAtLogin(false); // not enabled: nothing to undo
    EXPECT_EQ(loginItem.unregisters, 0);
    s.setLaunchAtLogin(true);
    EXPECT_EQ(loginItem.current, platform::ILoginItem::Status::Enabled);
    s.setLaunchAtLogin(false);
    EXPECT_EQ(loginItem.current, platform::ILoginItem::Status::NotRegistered);

    loginItem.failWith = "denied by policy";
    testing::internal::CaptureStderr();
    s.setLaunchAtLogin(true);
    const std::string log = testing::internal::GetCapturedStderr();
    EXPECT_NE(log.find("Pavlet login item: denied by policy"), std::string::npos) << log;
}

TEST_F(AppSettingsTest, ALoginItemThatCannotChangeTurnsTheSwitchBackAndSaysWhy)
{
    AppSettings &s = settings();
    struct Case {
        const char *what;
        bool from;
    };
    for (const Case c : {Case{"register", false}, Case{"unregister", true}}) {
        loginItem.failWith.clear();
        s.setLaunchAtLogin(c.from);
        ASSERT_TRUE(s.launchAtLoginProblem().isEmpty()) << c.what;
        loginItem.failWith = "Permission denied";
        testing::internal::CaptureStderr();
        s.setLaunchAtLogin(!c.from);
        testing::internal::GetCapturedStderr();
        // The switch shows what the login item does, and the line says why.
        EXPECT_EQ(s.launchAtLogin(), c.from) << c.what;
        EXPECT_EQ(reopenDefaults()->boolValue("launchAtLogin", !c.from), c.from) << c.what;
        EXPECT_TRUE(s.launchAtLoginProblem().contains("Permission denied")) << c.what;
    }
    loginItem.failWith.clear();
    s.setLaunchAtLogin(false);
    EXPECT_TRUE(s.launchAtLoginProblem().isEmpty());
}

TEST_F(AppSettingsTest, AnUnwritableSettingsFileIsReportedWhileItLasts)
{
    AppSettings &s = settings();
    QSignalSpy problem(&s, &AppSettings::storageProblemChanged);
    // A folder where the file goes: no write can replace it.
    ASSERT_TRUE(defaults->flush());
    QFile::remove(defaults->path());
    ASSERT_TRUE(QDir().mkpath(defaults->path() + "/blocked"));
    testing::internal::CaptureStderr();
    s.setShowAmbientSmile(true);
    defaults->flush();
    testing::internal::GetCapturedStderr();
    EXPECT_TRUE(s.storageProblem().contains(defaults->path()));
    EXPECT_EQ(problem.count(), 1);
    EXPECT_TRUE(s.showAmbientSmile()); // the value in memory stays

    // Writable again: the next write carries every change and the line goes.
    ASSERT_TRUE(QDir(defaults->path()).removeRecursively());
    s.setExpandOnHover(true);
    defaults->flush();
    EXPECT_TRUE(s.storageProblem().isEmpty());
    EXPECT_EQ(problem.count(), 2);
    EXPECT_TRUE(reopenDefaults()->boolValue("ambientSmileEnabled", false));

    // A full disk: the file keeps what it had (no temporary copy stays), and
    // the line says so until a write gets through.
    SmallFileSystem disk(tempPath("."));
    if (!disk.why.isEmpty())
        GTEST_SKIP() << "no small file system to fill: " << disk.why.toStdString();
    s.setShowDropShadow(true);
    ASSERT_TRUE(defaults->flush() && disk.fill());
    testing::internal::CaptureStderr();
    s.setShowDropShadow(false);
    EXPECT_TRUE(reopenDefaults()->boolValue("showDropShadow", false));
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(QDir(tempPath(".")).entryList(QDir::Files | QDir::Hidden).size(), 2);
    EXPECT_TRUE(s.storageProblem().contains(defaults->path()));
    disk.free();
    EXPECT_FALSE(reopenDefaults()->boolValue("showDropShadow", true));
    EXPECT_TRUE(s.storageProblem().isEmpty());
}

TEST_F(AppSettingsTest, ADamagedFileSetAsideIsToldOnceWithWhereTheOldOneIs)
{
    ASSERT_TRUE(defaults->flush());
    {
        QFile junk(defaults->path());
        ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
        junk.write("{ cut off");
    }
    testing::internal::CaptureStderr();
    UserDefaults damaged(defaults->path());
    AppSettings s(&damaged, &loginItem, permissions.get(), credentials.get(), &notifications);
    QSignalSpy notice(&s, &AppSettings::resetNoticeChanged);
    s.setShowDropShadow(true);
    ASSERT_TRUE(damaged.flush());
    testing::internal::GetCapturedStderr();
    ASSERT_FALSE(damaged.damagedCopyPath().isEmpty());
    EXPECT_TRUE(QFile::exists(damaged.damagedCopyPath()));
    EXPECT_TRUE(s.resetNotice().contains(damaged.damagedCopyPath())) << s.resetNotice().toStdString();
    EXPECT_EQ(notice.count(), 1);
    s.dismissResetNotice();
    EXPECT_TRUE(s.resetNotice().isEmpty());
    EXPECT_EQ(notice.count(), 2);

    // A sound file has nothing to tell.
    EXPECT_TRUE(settings().resetNotice().isEmpty());
}

TEST_F(AppSettingsTest, SavingATokenWaitsForTheKeyringAndReportsItsAnswer)
{
    struct Case {
        const char *what;
        bool refuse;
        bool unavailable;
        bool saved;
    };
    const Case cases[] = {
        {"accepted", false, false, true},
        {"refused", true, false, false},
        {"no answer", false, true, false},
    };
    for (const Case &c : cases) {
        secrets = FakeSecretStore();
        restart();
        AppSettings &s = settings();
        s.setCanvasBaseURL("school.instructure.com");
        s.setCanvasTokenDraft("old");
        s.saveCanvasCredentials();
        ASSERT_EQ(storedToken(), "old") << c.what;
        QSignalSpy posted(&notifications, &AppNotifications::canvasCredentialsChanged);

        secrets.hold = true;
        s.setCanvasBaseURL("other.instructure.com");
        s.setCanvasTokenDraft("new");
        s.saveCanvasCredentials();
        EXPECT_EQ(s.canvasStatus(), AppSettings::CanvasSavingText) << c.what;
        EXPECT_EQ(s.canvasSaveState(), AppSettings::CanvasSave::Saving) << c.what;

        secrets.refuseWrites = c.refuse;
        secrets.unavailable = c.unavailable;
        secrets.release();
        secrets.unavailable = false;
        EXPECT_EQ(storedToken(), c.saved ? "new" : "old") << c.what;
        // The typed token and address serve this run either way.
        EXPECT_EQ(credentials->current(), (CanvasCredentials{"https://other.instructure.com", "new"})) << c.what;
        EXPECT_EQ(defaults->stringValue("canvasBaseURL"), "https://other.instructure.com") << c.what;
        EXPECT_EQ(s.canvasTokenDraft(), "") << c.what;
        EXPECT_EQ(s.canvasSaveState(), AppSettings::CanvasSave::Idle) << c.what;
        EXPECT_EQ(posted.count(), 1) << c.what;
        if (c.saved) {
            EXPECT_EQ(s.canvasStatus(), "Token saved on this computer") << c.what;
            EXPECT_FALSE(s.canvasStatusFailed()) << c.what;
        } else {
            EXPECT_EQ(s.canvasStatus(), AppSettings::CanvasThisRunOnlyText) << c.what;
            EXPECT_TRUE(s.canvasStatusFailed()) << c.what;
        }
        // A restart finds what the keyring holds: the token typed for the
        // other school, or the first school's, which the other does not get.
        secrets.hold = false;
        restart();
        EXPECT_EQ(settings().canvasStatus(),
                  c.saved ? QString("Token loaded") : QString("Paste the token for other.instructure.com"))
            << c.what;
        EXPECT_EQ(credentials->current().has_value(), c.saved) << c.what;
        EXPECT_EQ(settings().canvasBaseURL(), "https://other.instructure.com") << c.what;
    }
    // A later status from the refresh ends the warning.
    settings().setCanvasStatus("Connected as Ada");
    EXPECT_FALSE(settings().canvasStatusFailed());
}

TEST_F(AppSettingsTest, TypedAddressOrTokenThatCannotBeStoredIsRefusedWithItsReason)
{
    struct Case {
        const char *address;
        const char *token;
        QString status;
    };
    const Case cases[] = {
        {"school.example.edu?x=1", "tok", AppSettings::CanvasQueryText},
        {"https://school.example.edu#top", "tok", AppSettings::CanvasQueryText},
        {"school.example.edu", "tok\nen", AppSettings::CanvasControlCharacterText},
        {"school.example.edu", " to\x7fk ", AppSettings::CanvasControlCharacterText},
    };
    AppSettings &s = settings();
    for (const Case &c : cases) {
        s.setCanvasBaseURL(c.address);
        s.setCanvasTokenDraft(c.token);
        s.saveCanvasCredentials();
        EXPECT_EQ(s.canvasStatus(), c.status) << c.address << " " << c.token;
        EXPECT_TRUE(s.canvasStatusFailed()) << c.address << " " << c.token;
        EXPECT_EQ(s.canvasTokenDraft(), QString::fromLatin1(c.token)) << c.address;
    }
    EXPECT_EQ(secrets.writes, 0);
    EXPECT_FALSE(defaults->contains("canvasBaseURL"));
}

// Which readers of the store react to one change of each option. Each reader
// is built alone over the island's fakes, with the trace its reaction leaves:
// the window re-applies its settings (geometryChanged), the island
// re-applies its permission preferences (Bluetooth lists its devices) or its
// HUD (the key tap), Home and the Modules page recompute (they ask for the
// location grant), the Permissions page refreshes (it asks for the
// accessibility grant), the island editor lays out its panels (the shade
// follows a screen that changed without notice).
class SettingsReadersTest : public IslandTest, protected FakeWindowParts {
protected:
    struct Reader {
        std::shared_ptr<QObject> object;
        std::function<QString()> trace;
        std::function<void()> prepare = [] {};
    };
};

TEST_F(SettingsReadersTest, EachOptionReachesOnlyTheReadersThatReadIt)
{
    defaults->setBool("permissionsSetupCompleted", true); // Bluetooth follows the wishes
    AppSettings &s = fakes->settings;
    PermissionCenter *permissions = &fakes->permissions;
    FakePermissionBackend &backend = fakes->permissionBackend;
    auto count = [](int n) { return QString::number(n); };
    const std::map<QString, std::function<Reader()>> readers{
        {"window", [&] {
             auto window = std::make_shared<NotchWindowController>(&s, windowParts(&clock, scheduler.get(), model.get()));
             auto moved = std::make_shared<QSignalSpy>(window.get(), &NotchWindowController::geometryChanged);
             return Reader{window, [moved, count] { return count(moved->count()); }};
         }},
        {"island", [&] {
             s.setShowSystemHUD(false); // the change below starts the HUD
             return Reader{nullptr, [&] {
                 return count(fakes->bluetooth.listings) + (fakes->mediaKeys.hasTap() ? "+tap" : "");
             }};
         }},
        {"home", [&] {
             auto home = std::make_shared<HomeModel>();
             home->setModel(model.get());
             home->setParts(homeParts.get());
             return Reader{home, [&] { return count(backend.locationQueries); }};
         }},
        {"modules", [&] {
             auto page = std::make_shared<ModulesPresenter>(ModulesPresenter::Parts{
                 &s, permissions, &fakes->credentials, &fakes->notifications, &fakes->launcher, scheduler.get(),
                 &fakes->random});
             page->setShown(true);
             return Reader{page, [&] { return count(backend.locationQueries); }};
         }},
        {"permissions", [&] {
             auto page = std::make_shared<PermissionsPresenter>(PermissionsPresenter::Parts{
                 &s, permissions, defaults.get(), &fakes->notifications, scheduler.get()});
             page->setPageVisible(true);
             return Reader{page, [&] { return count(backend.accessibilityTests); }};
         }},
        {"editor", [&] {
             auto editor = std::make_shared<IslandEditController>(&s, &screens, nullptr);
             editor->setViewModel(model.get());
             editor->begin();
             auto width = std::make_shared<int>(1512);
             return Reader{editor,
                           [editor] { return QString::number(editor->shade()->mask().boundingRect().x()); },
                           [this, width] {
                               *width += 40;
                               screens.list = {FakeScreenProvider::plain("main", 0, 0, *width, 982, 24)};
                           }};
         }},
    };

    // One change of every option: each writable property, and a wish.
    std::vector<std::pair<QString, std::function<void()>>> changes;
    const QMetaObject *meta = s.metaObject();
    for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i) {
        const QMetaProperty property = meta->property(i);
        if (!property.isWritable())
            continue;
        changes.emplace_back(property.name(), [&s, property] {
            QVariant value = property.read(&s);
            switch (value.typeId()) {
            case QMetaType::Bool: value = !value.toBool(); break;
            case QMetaType::Double: value = value.toDouble() + 3; break;
            case QMetaType::QString: value = value.toString() + "x"; break;
            case QMetaType::QColor:
                value = value.value<QColor>() == QColor(Qt::red) ? QColor(Qt::blue) : QColor(Qt::red);
                break;
            default: ADD_FAILURE() << property.name();
            }
            ASSERT_TRUE(property.write(&s, value)) << property.name();
        });
    }
    changes.emplace_back("permission wish", [&s, permissions] {
        s.wantsPermission(AppPermission::camera, !permissions->wantKey(AppPermission::camera));
    });
    changes.emplace_back("clocks", [&s] { s.setClocks(s.clocks().mid(1)); });

    std::map<QString, QStringList> reacted;
    for (const auto &[name, build] : readers) {
        make();
        const Reader reader = build();
        for (const auto &[option, change] : changes) {
            QCoreApplication::processEvents();
            reader.prepare();
            const QString before = reader.trace();
            change();
            QCoreApplication::processEvents(); // the window and the editor follow a turn later
            if (reader.trace() != before)
                reacted[option] << name;
        }
    }

    const std::map<QString, QStringList> expected{
        {"disabledModules", {"home", "modules", "window"}},
        {"moduleOrder", {"home", "modules"}},
        {"chromeIconOrder", {"home", "modules"}},
        {"clipboardHideEmpty", {"home"}},
        {"bluetoothHideEmpty", {"home"}},
        {"showSystemHUD", {"island"}},
        {"permission wish", {"home", "island", "modules", "permissions"}},
        {"lipOffsetX", {"editor", "window"}},
        {"expandedOffsetX", {"editor", "window"}},
        {"floatingIsland", {"editor", "window"}},
        {"lipOffsetY", {"window"}},
        {"expandedOffsetY", {"window"}},
        {"lipDrop", {"window"}},
        {"lipCornerRadius", {"window"}},
        {"lipEar", {"window"}},
        {"showDropShadow", {"window"}},
    };
    QStringList got, want;
    for (const auto &[option, change] : changes) {
        got << option + ": " + reacted[option].join(' ');
        want << option + ": " + (expected.count(option) ? expected.at(option).join(' ') : QString());
    }
    EXPECT_EQ(got.join('\n').toStdString(), want.join('\n').toStdString());
}
