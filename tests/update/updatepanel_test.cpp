#include "support/panelviewtest.h"
#include "support/updatemanifest.h"
#include "update/updateviews.h"
#include "update/updateservice.h"

TEST(UpdatePanelTextsTest, TextsPerStatus)
{
    const QString host = QStringLiteral("pavlet.app");
    const auto latest = std::optional<UpdateManifest>(manifest("1.5.0", "Faster island."));
    const QString ready = QStringLiteral(
        "The disk image is in Downloads. Open it, drag Pavlet to Applications, then reopen from there.");
    struct Case {
        const char *name;
        UpdateStatus status;
        std::optional<UpdateManifest> latest;
        QString title, subtitle, detail, primary;
        bool enabled, progress;
    };
    const Case cases[] = {
        {"available", UpdateStatus::available(), latest, "Pavlet 1.5.0 is ready", "You're on v1.0.0", "Faster island.",
         "Download", true, false},
        {"available without manifest", UpdateStatus::available(), std::nullopt, "A newer Pavlet is ready",
         "You're on v1.0.0", "", "Download", true, false},
        {"downloading", UpdateStatus::downloading(0.999), latest, "Downloading Pavlet", "99%", "Faster island.",
         "Downloading…", true, true},
        {"downloaded", UpdateStatus::downloading(1.0), latest, "Downloading Pavlet", "100%", "Faster island.",
         "Downloading…", true, true},
        {"ready", UpdateStatus::ready(QUrl("file:///d/Pavlet.dmg")), latest, "Disk image is ready",
         "Drag it to Applications, then open Pavlet", ready, "Open disk image", true, false},
        {"failed, manifest kept", UpdateStatus::failed("Download didn't finish"), latest, "Download didn't finish",
         "A newer Pavlet is on pavlet.app", "Faster island.", "Try again", true, false},
        {"checking", UpdateStatus::checking(), std::nullopt, "Pavlet update", "A newer Pavlet is on pavlet.app", "",
         "Download", false, false},
        {"up to date", UpdateStatus::upToDate(), std::nullopt, "Pavlet update", "A newer Pavlet is on pavlet.app", "",
         "Download", true, false},
    };
    for (const Case &c : cases) {
        const UpdatePanelTexts t = UpdatePanelTexts::make(c.status, c.latest, "1.0.0", host);
        EXPECT_EQ(t.title, c.title) << c.name;
        EXPECT_EQ(t.subtitle, c.subtitle) << c.name;
        EXPECT_EQ(t.detail, c.detail) << c.name;
        EXPECT_EQ(t.primaryTitle, c.primary) << c.name;
        EXPECT_EQ(t.primaryEnabled, c.enabled) << c.name;
        EXPECT_EQ(t.showsProgress, c.progress) << c.name;
    }
}

class UpdatePanelTest : public PanelViewTest {};

// "Later" without any manifest still ends the prompt and closes the island.
TEST_F(UpdatePanelTest, LaterWithoutAManifestDismissesAndCollapses)
{
    model->showUpdate();
    ASSERT_TRUE(open("update/UpdatePanel.qml", {400, 200}));
    EXPECT_EQ(text("title"), "Pavlet update");
    EXPECT_FALSE(shown("detail"));
    EXPECT_FALSE(shown("progress"));
    model->dismissUpdate();
    EXPECT_EQ(model->state(), NotchState::collapsed);
    EXPECT_FALSE(fakes->updater.wantsPrompt());
}

// A failure names itself in the title: the longest message, the network's,
// wraps instead of being cut.
TEST_F(UpdatePanelTest, TheNetworkFailureTitleIsShownWhole)
{
    // A host that never answers.
    fakes->updater.check(true);
    scheduler->advance(60000);
    ASSERT_EQ(fakes->updater.status(), UpdateStatus::failed(UpdateService::NetworkMessage));
    model->showUpdate();
    ASSERT_TRUE(open("update/UpdatePanel.qml", {400, 200}));
    EXPECT_EQ(text("title"), UpdateService::NetworkMessage);
    for (const char *name : {"title", "subtitle"}) {
        auto *line = qobject_cast<QQuickItem *>(find(name));
        ASSERT_TRUE(line) << name;
        EXPECT_FALSE(line->property("truncated").toBool()) << name;
        EXPECT_LE(line->property("contentWidth").toDouble(), line->width() + 0.5) << name;
    }
}
