#include "island/animationclock.h"
#include "island/islandpalette.h"
#include "services/timerstore.h"
#include "store/permissions.h"
#include "support/islandtest.h"
#include "support/qmltest.h"

#include <QQuickItem>
#include <gtest/gtest.h>

// The root view over the island's real model: its records reach the views
// under the names the views read, in every closed state and over a panel.
class ViewsOverModelTest : public IslandTest {
protected:
    void SetUp() override
    {
        IslandTest::SetUp();
        IslandPalette::setDefaults(&qml.engine(), defaults.get());
        AnimationClock::setSource(&qml.engine(), &clock, scheduler.get());
        make();
    }
    void TearDown() override
    {
        view.reset();
        IslandTest::TearDown();
    }
    // The root view over the model, sized like the hover island.
    QQuickItem *createView()
    {
        view = qml.create("island/NotchView.qml",
                          {{"model", QVariant::fromValue<QObject *>(model.get())},
                           {"settings", QVariant::fromValue<QObject *>(&fakes->settings)},
                           {"permissions", QVariant::fromValue<QObject *>(&fakes->permissions)},
                           {"width", 296},
                           {"height", 72}});
        return qobject_cast<QQuickItem *>(view.get());
    }
    static QQuickItem *child(QQuickItem *item, const char *type)
    {
        for (QQuickItem *c : item->childItems()) {
            if (QString::fromLatin1(c->metaObject()->className()).startsWith(QLatin1String(type)))
                return c;
            if (QQuickItem *found = child(c, type))
                return found;
        }
        return nullptr;
    }
    QString allText(QQuickItem *item) const
    {
        QString text = item->property("text").toString();
        for (QQuickItem *child : item->childItems())
            text += QLatin1Char('|') + allText(child);
        return text;
    }
    QmlLoader qml;
    std::unique_ptr<QObject> view;
};

TEST_F(ViewsOverModelTest, PulsesHudAndTimerShowWithoutWarnings)
{
    fakes->settings.setShowClockWhenIdle(false);
    QQuickItem *root = createView();
    ASSERT_TRUE(root);

    model->powerModeChanged(true);
    ASSERT_EQ(model->state(), NotchState::hover);
    EXPECT_TRUE(allText(root).contains(QStringLiteral("Low Power Mode on  \u00B7  ")));
    EXPECT_EQ(view->property("glow").toMap().value("kind").toString(), "ambient");

    model->collapse();
    model->timer()->start();
    EXPECT_EQ(view->property("glow").toMap().value("kind").toString(), "timer");

    fakes->settings.setShowSystemHUD(true);
    model->handleHUD({SystemHUDKind::volume, 0.5, false});
    ASSERT_EQ(model->state(), NotchState::hud);
    model->openHome();
    model->handleHUD({SystemHUDKind::brightness, 0.2, false});
    EXPECT_TRUE(view->property("hudPresent").toBool());

    EXPECT_TRUE(qml.warnings().isEmpty()) << qml.warnings().join('\n').toStdString();
}

// The weather's wish and grant reach the hover island from the permission records.
TEST_F(ViewsOverModelTest, HoverIslandReadsTheLocationWish)
{
    defaults->setBool(PermissionCenter::wantKeyName(AppPermission::location), false);
    QQuickItem *root = createView();
    ASSERT_TRUE(root);
    model->setState(NotchState::hover);
    QQuickItem *hover = child(root, "HoverIsland");
    ASSERT_TRUE(hover);
    EXPECT_FALSE(hover->property("wantLocation").toBool());
    EXPECT_TRUE(qml.warnings().isEmpty()) << qml.warnings().join('\n').toStdString();
}
