#include "appfixture.h"
#include "core/appnotifications.h"

#include <QSignalSpy>

using PermissionCenterTest = AppFixture;
using Backend = platform::IPermissionBackend;

TEST_F(PermissionCenterTest, GrantedSetIsSortedParsedLenientlyAndOnlyAnnouncedOnChange)
{
    QSignalSpy changed(&notifications, &AppNotifications::permissionsChanged);
    permissions->markGranted(AppPermission::location);
    permissions->markGranted(AppPermission::calendar);
    EXPECT_EQ(defaults->stringValue("pavlet.grantedPermissions"), "calendar,location");
    EXPECT_EQ(changed.count(), 2);
    permissions->markGranted(AppPermission::calendar);
    EXPECT_EQ(changed.count(), 2);

    defaults->setString("pavlet.grantedPermissions", ",calendar,,camera,");
    EXPECT_EQ(permissions->storedGrantedSet(), QSet<QString>({"calendar", "camera"}));
}

TEST_F(PermissionCenterTest, RecordedGrantOutweighsNotDeterminedButNotDenied)
{
    // Neither player runs: automation cannot be told.
    EXPECT_EQ(permissions->systemStatus(AppPermission::automation), PermissionStatus::notDetermined);
    EXPECT_EQ(permissions->isGranted(AppPermission::automation), PermissionStatus::notDetermined);
    defaults->setString("pavlet.grantedPermissions", "automation,camera");
    EXPECT_EQ(permissions->isGranted(AppPermission::automation), PermissionStatus::granted);

    backend.camera = Backend::CaptureAccess::Denied;
    EXPECT_EQ(permissions->isGranted(AppPermission::camera), PermissionStatus::denied);

    backend.automation["com.spotify.client"] = Backend::AutomationAnswer::NotPermitted;
    backend.automation["com.apple.Music"] = Backend::AutomationAnswer::NotPermitted;
    EXPECT_EQ(permissions->isGranted(AppPermission::automation), PermissionStatus::denied);
    backend.automation["com.apple.Music"] = Backend::AutomationAnswer::Allowed;
    EXPECT_EQ(permissions->isGranted(AppPermission::automation), PermissionStatus::granted);

    // A live grant is recorded on the way.
    backend.calendar = Backend::CalendarAccess::FullAccess;
    EXPECT_EQ(permissions->isGranted(AppPermission::calendar), PermissionStatus::granted);
    EXPECT_TRUE(permissions->storedGrantedSet().contains("calendar"));
    EXPECT_EQ(permissions->isGranted(AppPermission::bluetooth), PermissionStatus::granted);
}

TEST_F(PermissionCenterTest, StatusMapsEverySystemAnswer)
{
    backend.reminders = Backend::CalendarAccess::WriteOnly;
    EXPECT_EQ(permissions->systemStatus(AppPermission::reminders), PermissionStatus::denied);
    backend.location = Backend::LocationAccess::Restricted;
    EXPECT_EQ(permissions->systemStatus(AppPermission::location), PermissionStatus::denied);
    backend.location = Backend::LocationAccess::AuthorizedAlways;
    EXPECT_EQ(permissions->systemStatus(AppPermission::location), PermissionStatus::granted);
    EXPECT_EQ(permissions->systemStatus(AppPermission::accessibility), PermissionStatus::notDetermined);
    backend.trusted = true;
    EXPECT_EQ(permissions->systemStatus(AppPermission::accessibility), PermissionStatus::granted);
}

TEST_F(PermissionCenterTest, StartMonitoringRecordsGrantsOnceAndFollowsCalendarChanges)
{
    backend.calendar = Backend::CalendarAccess::FullAccess;
    permissions->startMonitoring();
    EXPECT_EQ(defaults->stringValue("pavlet.grantedPermissions"), "bluetooth,calendar");

    QSignalSpy changed(&notifications, &AppNotifications::permissionsChanged);
    backend.reminders = Backend::CalendarAccess::FullAccess;
    permissions->startMonitoring(); // a second start does nothing
    EXPECT_FALSE(permissions->storedGrantedSet().contains("reminders"));
    backend.announceCalendarChange();
    ASSERT_TRUE(waitUntil([&] { return changed.count() >= 2; }));
    EXPECT_TRUE(permissions->storedGrantedSet().contains("reminders"));
}

TEST_F(PermissionCenterTest, RequestsRecordGrantsAndAlwaysAnnounce)
{
    QSignalSpy changed(&notifications, &AppNotifications::permissionsChanged);
    bool done = false;
    permissions->request(AppPermission::bluetooth, [&] { done = true; });
    EXPECT_TRUE(done);
    EXPECT_TRUE(permissions->storedGrantedSet().contains("bluetooth"));

    // Location already denied: no dialog, nothing recorded, still announced.
    backend.location = Backend::LocationAccess::Denied;
    const int before = changed.count();
    done = false;
    permissions->request(AppPermission::location, [&] { done = true; });
    EXPECT_TRUE(done);
    EXPECT_EQ(backend.locationRequests, 0);
    EXPECT_FALSE(permissions->storedGrantedSet().contains("location"));
    EXPECT_EQ(changed.count(), before + 1);

    // Location undetermined: waits for the answer; every waiter resumes.
    backend.location = Backend::LocationAccess::NotDetermined;
    int resumed = 0;
    permissions->request(AppPermission::location, [&] { ++resumed; });
    permissions->request(AppPermission::location, [&] { ++resumed; });
    EXPECT_EQ(backend.locationRequests, 2);
    backend.answerLocation(Backend::LocationAccess::NotDetermined);
    EXPECT_EQ(resumed, 0);
    backend.answerLocation(Backend::LocationAccess::AuthorizedWhenInUse);
    EXPECT_EQ(resumed, 2);
    EXPECT_TRUE(permissions->storedGrantedSet().contains("location"));

    // Calendar request granted by the system.
    backend.calendarRequestGrants = true;
    done = false;
    permissions->request(AppPermission::calendar, [&] { done = true; });
    ASSERT_TRUE(waitUntil([&] { return done; }));
    EXPECT_TRUE(permissions->storedGrantedSet().contains("calendar"));
}

TEST_F(PermissionCenterTest, AccessibilityRequestPromptsOpensThePaneAndPollsEightTimes)
{
    bool done = false;
    permissions->request(AppPermission::accessibility, [&] { done = true; });
    EXPECT_EQ(backend.accessibilityPrompts, 1);
    ASSERT_EQ(backend.openedUrls.size(), 1);
    EXPECT_EQ(backend.openedUrls[0].toString(),
              "x-apple.systempreferences:com.apple.settings.PrivacySecurity.extension?Privacy_Accessibility");
    scheduler->advance(350 * 8 - 1);
    EXPECT_FALSE(done);
    scheduler->advance(1);
    EXPECT_TRUE(done);
    EXPECT_FALSE(permissions->storedGrantedSet().contains("accessibility"));

    // Trusted during the poll: recorded and finished early.
    backend.trustAfterTests = backend.accessibilityTests + 4;
    done = false;
    permissions->request(AppPermission::accessibility, [&] { done = true; });
    scheduler->advance(350 * 2);
    EXPECT_TRUE(done);
    EXPECT_TRUE(permissions->storedGrantedSet().contains("accessibility"));
}

TEST_F(PermissionCenterTest, SettingsPaneFallsBackToTheOlderAddress)
{
    backend.openSucceeds = false;
    permissions->openSystemSettings(AppPermission::camera);
    ASSERT_EQ(backend.openedUrls.size(), 2);
    EXPECT_EQ(backend.openedUrls[1].toString(),
              "x-apple.systempreferences:com.apple.preference.security?Privacy_Camera");
}

TEST_F(PermissionCenterTest, WantMigrationFillsMissingKeysAndRaisesGrantedOnesOnce)
{
    EXPECT_FALSE(permissions->wantKey(AppPermission::accessibility));
    EXPECT_TRUE(permissions->wantKey(AppPermission::camera));
    defaults->setBool("wantCamera", false);
    defaults->setBool("wantCalendar", false);
    backend.calendar = Backend::CalendarAccess::FullAccess;

    settings().migratePermissionWants();
    EXPECT_TRUE(defaults->boolValue("wantAccessibility"));
    EXPECT_FALSE(defaults->boolValue("wantCamera")); // not granted: left alone
    EXPECT_TRUE(defaults->boolValue("wantCalendar")); // granted, first migration
    EXPECT_TRUE(defaults->boolValue("pavlet.permissionWantsMigrated"));
    EXPECT_TRUE(permissions->storedGrantedSet().contains("calendar"));

    // Later launches leave an explicit "no" alone even when granted.
    defaults->setBool("wantCalendar", false);
    backend.camera = Backend::CaptureAccess::Authorized;
    settings().migratePermissionWants();
    EXPECT_FALSE(defaults->boolValue("wantCalendar"));
    EXPECT_FALSE(defaults->boolValue("wantCamera"));
}
