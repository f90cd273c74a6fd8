#include "fakes/fakescreens.h"
#include "notch/islandeditcontroller.h"
#include "platform/islandwindowhints.h"
#include "support/islandqml.h"
#include "support/patience.h"

#include <QKeyEvent>
#include <QSignalSpy>
#include <gtest/gtest.h>



class IslandEditControllerTest : public IslandViewTest {
protected:
    void SetUp() override
    {
        IslandViewTest::SetUp();
        screens.list = {FakeScreenProvider::plain("one", 0, 0, 1512, 982, 24)};
        controller = std::make_unique<IslandEditController>(&fakes->settings, &screens, engine());
        controller->setViewModel(model.get());
    }
    void TearDown() override
    {
        controller.reset();
        IslandViewTest::TearDown();
    }

    FakeScreenProvider screens;
    std::unique_ptr<IslandEditController> controller;
};

// Whether each window that took the keyboard was already on screen then.
struct KeyboardHints : platform::IIslandWindowHints {
    void apply(QWindow *, bool) override {}
    void keyboardTaken(QWindow *w) override { taken << w->isVisible(); }
    void keyboardReleased(QWindow *) override { ++released; }
    QList<bool> taken;
    int released = 0;
};

TEST_F(IslandEditControllerTest, BeginTwiceKeepsOneEdit)
{
    KeyboardHints hints;
    controller->setWindowHints(&hints);
    QSignalSpy active(controller.get(), &IslandEditController::activeChanged);
    controller->begin();
    controller->begin();
    // Who had the keyboard is noted before the controls show, once.
    EXPECT_EQ(hints.taken, QList<bool>{false});
    ASSERT_EQ(active.size(), 1);
    EXPECT_TRUE(active.at(0).at(0).toBool());
    ASSERT_TRUE(controller->shade() && controller->controls());
    EXPECT_EQ(controller->shade()->objectName(), "island-edit-shade");
    EXPECT_EQ(controller->controls()->objectName(), "island-edit-controls");
    EXPECT_TRUE(controller->shade()->isVisible());
    EXPECT_TRUE(controller->controls()->isVisible());
    EXPECT_TRUE(controller->shade()->flags() & Qt::WindowTransparentForInput);
    EXPECT_FALSE(controller->controls()->flags() & Qt::WindowTransparentForInput);
    // The shade keeps only the ring around the island, the rest of the band is the desktop's.
    EXPECT_TRUE(controller->shade()->mask().contains(QPoint(756, 5)));
    EXPECT_FALSE(controller->shade()->mask().contains(QPoint(5, 5)));
    controller->finish();
    EXPECT_EQ(hints.released, 1);
    EXPECT_TRUE(warnings().isEmpty()) << warnings().join('\n').toStdString();
}

TEST_F(IslandEditControllerTest, EscapeEndsTheEditAndIsSwallowedOnlyThen)
{
    QSignalSpy finished(controller.get(), &IslandEditController::editFinished);
    QSignalSpy active(controller.get(), &IslandEditController::activeChanged);
    controller->begin();
    QKeyEvent key(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    EXPECT_TRUE(controller->eventFilter(window.get(), &key));
    EXPECT_TRUE(controller->isActive()); // ends on the next turn
    EXPECT_TRUE(Patience::until([&] { return !controller->isActive(); }, 1000));
    EXPECT_EQ(finished.size(), 1);
    ASSERT_EQ(active.size(), 2);
    EXPECT_FALSE(active.at(1).at(0).toBool());
    EXPECT_FALSE(controller->shade()->isVisible());
    EXPECT_TRUE(controller->controls()->flags() & Qt::WindowTransparentForInput);
    EXPECT_FALSE(controller->eventFilter(window.get(), &key));

    // A later edit reuses the panels and takes clicks again.
    QQuickWindow *shade = controller->shade();
    controller->begin();
    EXPECT_EQ(controller->shade(), shade);
    EXPECT_FALSE(controller->controls()->flags() & Qt::WindowTransparentForInput);
}

TEST_F(IslandEditControllerTest, PanelsFollowSettingsPhaseAndDone)
{
    fakes->settings.setFloatingIsland(true);
    controller->begin();
    EXPECT_EQ(controller->controls()->geometry().size(), QSize(320, 300));
    EXPECT_TRUE(controller->controls()->contentItem()->childItems().value(0)->property("showsFloatingPill").toBool());
    fakes->settings.setFloatingIsland(false);
    Patience::until([&] { return controller->controls()->geometry().size() == QSize(320, 430); }, 1000);
    const QRect before = controller->controls()->geometry();
    EXPECT_EQ(before.size(), QSize(320, 430));
    // The notch-less screen: the island sits at the top centre.
    fakes->settings.setLipOffsetX(-40);
    Patience::until([&] { return controller->controls()->geometry().x() == before.x() - 40; }, 1000);
    EXPECT_EQ(controller->controls()->geometry().x(), before.x() - 40);

    controller->setPhase(IslandEditPhase::expanded);
    EXPECT_EQ(controller->controls()->geometry().size(), QSize(320, 248));
    fakes->settings.setExpandedOffsetX(20);
    Patience::until([&] {
        return controller->frames().controls.x() == 776 - 400 - 18 - 320
            && controller->controls()->geometry().x() == int(controller->frames().controls.x());
    }, 1000);
    // No room right of the ring any more: the panel goes to its left.
    EXPECT_EQ(controller->frames().controls.x(), 776 - 400 - 18 - 320);
    EXPECT_EQ(controller->controls()->geometry().x(), int(controller->frames().controls.x()));

    // The shade's ring sits on the island's centre at the top edge.
    QQuickItem *shadeView = controller->shade()->contentItem()->childItems().value(0);
    ASSERT_TRUE(shadeView);
    EXPECT_EQ(shadeView->property("ringRadius").toDouble(), 400);

    // "Done" ends the edit at once.
    QQuickItem *controlsView = controller->controls()->contentItem()->childItems().value(0);
    ASSERT_TRUE(controlsView);
    QMetaObject::invokeMethod(controlsView, "done");
    EXPECT_FALSE(controller->isActive());
    EXPECT_TRUE(warnings().isEmpty()) << warnings().join('\n').toStdString();
}
