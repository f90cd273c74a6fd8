#include "settingsfixture.h"

#include "store/permissioncenter.h"

#include <QSignalSpy>

class PermissionsPageTest : public SettingsTest {
protected:
    PermissionsPresenter &presenter() { return *make().permissionsPresenter(); }
    const PermissionRow &rowOf(const QString &id)
    {
        const PermissionsPresenter &p = *controller->permissionsPresenter();
        for (const auto *model : {&p.recommendedRows(), &p.optionalRows()}) {
            for (const PermissionRow &r : model->rows()) {
                if (r.id == id)
                    return r;
            }
        }
        static PermissionRow none;
        ADD_FAILURE() << id.toStdString();
        return none;
    }
    FakePermissionBackend &backend() { return fakes->permissionBackend; }
};

TEST_F(PermissionsPageTest, ContinueWritesOnlyTheSetupFlag)
{
    PermissionsPresenter &p = presenter();
    QSignalSpy done(&p, &PermissionsPresenter::setupCompletedChanged);
    QSignalSpy written(defaults.get(), &UserDefaults::changed);
    p.finish();
    EXPECT_TRUE(p.setupCompleted());
    ASSERT_EQ(written.count(), 1);
    EXPECT_EQ(written[0][0].toString(), "permissionsSetupCompleted");
    EXPECT_GE(done.count(), 1);
}

TEST_F(PermissionsPageTest, AllowRecommendedWalksInOrderSettingEachWishFirst)
{
    PermissionsPresenter &p = presenter();
    backend().calendarRequestGrants = false;
    QStringList seen;
    QObject::connect(&p, &PermissionsPresenter::walkingChanged, [&] {
        if (p.walking())
            seen << p.currentName() + (defaults->boolValue("want" + p.currentName(), false) ? "+" : "-");
    });
    p.allowRecommended();
    EXPECT_TRUE(p.walking());
    p.finish(); // ignored while walking
    EXPECT_FALSE(p.setupCompleted());
    // Accessibility polls eight times 0.35 s apart before it gives up.
    scheduler->advance(3000);
    ASSERT_TRUE(waitUntil([&] { return seen.size() == 3; }));
    backend().answerLocation(platform::IPermissionBackend::LocationAccess::Denied);
    ASSERT_TRUE(waitUntil([&] { return !p.walking(); }));
    EXPECT_EQ(seen, (QStringList{"Accessibility+", "Calendar+", "Location+"}));
    EXPECT_TRUE(defaults->boolValue("wantAccessibility", false));
    EXPECT_EQ(p.currentName(), "");
}

TEST_F(PermissionsPageTest, StatusWordsButtonsAndTheBluetoothCard)
{
    PermissionsPresenter &p = presenter();
    backend().camera = platform::IPermissionBackend::CaptureAccess::Denied;
    backend().calendar = platform::IPermissionBackend::CalendarAccess::FullAccess;
    p.refresh();
    struct Case {
        QString id;
        QString word;
        QString button;
        bool alreadyGranted;
    };
    const Case cases[] = {
        {"accessibility", "Not granted", "Grant", true},
        {"calendar", "Granted", "", false},
        {"camera", "Denied", "Open Settings", false},
        {"location", "Not granted", "Grant", false},
        {"bluetooth", "On", "", false},
    };
    for (const Case &c : cases) {
        const PermissionRow &r = rowOf(c.id);
        EXPECT_EQ(r.statusWord, c.word) << c.id.toStdString();
        EXPECT_EQ(r.grantTitle, c.button) << c.id.toStdString();
        EXPECT_EQ(r.showAlreadyGranted, c.alreadyGranted) << c.id.toStdString();
    }
    p.setWants("bluetooth", false);
    EXPECT_EQ(rowOf("bluetooth").statusWord, "Off");
    EXPECT_FALSE(rowOf("bluetooth").wants);
    EXPECT_TRUE(rowOf("bluetooth").grantTitle.isEmpty());

    // "I already granted this." holds at once and after a restart.
    p.alreadyGranted("accessibility");
    EXPECT_EQ(rowOf("accessibility").statusWord, "Granted");
    EXPECT_TRUE(reopenDefaults()->stringValue(PermissionCenter::GrantedKey).contains("accessibility"));
}

TEST_F(PermissionsPageTest, WishSwitchOpensSettingsAsksOrOnlyStores)
{
    PermissionsPresenter &p = presenter();
    backend().camera = platform::IPermissionBackend::CaptureAccess::Denied;
    backend().calendar = platform::IPermissionBackend::CalendarAccess::FullAccess;
    p.setWants("camera", true);
    EXPECT_EQ(backend().openedUrls.size(), 1);
    p.setWants("calendar", true);
    EXPECT_EQ(backend().locationRequests, 0);
    EXPECT_EQ(backend().openedUrls.size(), 1);
    p.setWants("location", true);
    EXPECT_EQ(backend().locationRequests, 1);
    EXPECT_TRUE(rowOf("location").requesting);
}

// While a permission's request runs, its Grant and wish switch ask nothing more.
TEST_F(PermissionsPageTest, NoSecondRequestWhileOneRuns)
{
    PermissionsPresenter &p = presenter();
    p.grant("location");
    p.grant("location");
    p.setWants("location", false);
    p.setWants("location", true);
    EXPECT_EQ(backend().locationRequests, 1);
    EXPECT_TRUE(rowOf("location").requesting);
    backend().answerLocation(platform::IPermissionBackend::LocationAccess::AuthorizedWhenInUse);
    ASSERT_TRUE(waitUntil([&] { return !rowOf("location").requesting; }));
    EXPECT_EQ(rowOf("location").statusWord, "Granted");
}

TEST_F(PermissionsPageTest, RefreshesOnItsTimerOnlyWhileShownAndOnNotices)
{
    PermissionsPresenter &p = presenter();
    EXPECT_EQ(p.refreshInterval(), 0);
    p.setPageVisible(true);
    EXPECT_EQ(p.refreshInterval(), 1000);
    p.setSheetVisible(true);
    EXPECT_EQ(p.refreshInterval(), 400);
    backend().location = platform::IPermissionBackend::LocationAccess::AuthorizedWhenInUse;
    scheduler->advance(400);
    EXPECT_EQ(rowOf("location").statusWord, "Granted");
    // A notice refreshes at once, without the timer.
    backend().camera = platform::IPermissionBackend::CaptureAccess::Authorized;
    fakes->notifications.post(AppNotifications::PermissionsChanged);
    EXPECT_EQ(rowOf("camera").statusWord, "Granted");
    // Hidden, nothing reads the statuses.
    p.setSheetVisible(false);
    p.setPageVisible(false);
    backend().camera = platform::IPermissionBackend::CaptureAccess::Denied;
    scheduler->advance(5000);
    fakes->notifications.post(AppNotifications::PermissionsChanged);
    EXPECT_EQ(rowOf("camera").statusWord, "Granted");
}
