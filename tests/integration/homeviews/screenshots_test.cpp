#include "homeviewtest.h"

#include "style/palette.h"
#include "media/voicememoengine.h"
#include "support/patience.h"
#include "services/weatherservice.h"
#include "support/itemtree.h"

#include <QDir>
#include <QFile>
#include <QPointer>
#include <QTest>
#include <QQuickItem>
#include <QQuickWindow>
#include <QWheelEvent>
#include <gtest/gtest.h>

TEST_F(HomeScreenshotTest, HomeInTheIslandAndInEditMode)
{
    showOnly({"player", "timer", "clocks", "system", "awake", "gameMode", "calculator", "voice", "pocket"});
    make();
    model->start();
    auto track = FakeMediaPlayers::player(QStringLiteral("spotify"), QStringLiteral("Midnight City"),
                                          QStringLiteral("Playing"), QStringLiteral("M83"));
    track.positionUs = 64'000'000;
    fakes->players.set(track);
    model->tick();
    model->openHome();
    // The island at the size the window controller gives Home.
    QQuickItem *island = show(QStringLiteral("notch/NotchIsland.qml"), {428, 620});
    ASSERT_TRUE(island);
    const auto wait = [this](int ms) { spin(ms); };
    // The cards are built between frames: the content is whole once they all show.
    Patience::until([&] { return model->homeContentHeight() > 250 && ItemTree::homeCardFaults(island).isEmpty(); },
                    3000, wait);
    const double height = std::min(620.0, std::max(32 + 26 + std::max(model->homeContentHeight(), 36.0), 32 + 72.0));
    EXPECT_GT(model->homeContentHeight(), 250);
    island->setHeight(height);
    window->resize(428, int(height) + 20);
    QImage image = shoot(QStringLiteral("home-cards"), 900);
    ASSERT_FALSE(image.isNull());
    // Black island, and a card's faint fill on it.
    EXPECT_TRUE(near(image.pixelColor(214, 20), Qt::black)) << image.pixelColor(214, 20).name().toStdString();
    const QColor card = image.pixelColor(30, 32 + 60);
    EXPECT_TRUE(near(card, QColor(20, 20, 20), 8)) << card.name().toStdString();

    model->setEditingModules(true);
    // Edit mode's hint over the cards counts in its height.
    Patience::until([&] {
        for (QQuickItem *t : ItemTree::all(island, "QQuickText"))
            if (t->isVisible() && t->property("text").toString().startsWith(QLatin1String("Drag tiles to reorder")))
                return true;
        return false;
    }, 2000, wait);
    const double editHeight = std::min(620.0, 32 + 26 + model->homeContentHeight());
    island->setHeight(editHeight);
    window->resize(428, int(editHeight) + 20);
    image = shoot(QStringLiteral("home-edit"), 900);
    ASSERT_FALSE(image.isNull());
    EXPECT_TRUE(near(image.pixelColor(214, 20), Qt::black));
}

TEST_F(HomeScreenshotTest, EveryCard)
{
    fakes->permissionBackend.calendar = platform::IPermissionBackend::CalendarAccess::FullAccess;
    fakes->permissionBackend.location = platform::IPermissionBackend::LocationAccess::AuthorizedWhenInUse;
    make();
    model->tick();
    // Five or six cards a picture, each card once.
    const QList<QStringList> groups = {
        {"weather", "calendar", "network", "clipboard", "notes"},
        {"shortcuts", "quote", "bluetooth", "eyeStrain", "speedTest"},
        {"youtube", "spotify", "compress", "micCheck"},
    };
    fakes->settings.setEyeStrainGuard(true);
    model->generatePasswordToClipboard();
    for (int i = 0; i < groups.size(); ++i) {
        showOnly(groups[i]);
        QQuickItem *panel = show(QStringLiteral("home/HomePanel.qml"), {404, 560});
        ASSERT_TRUE(panel);
        window->setColor(Qt::black);
        const QImage image = shoot(QStringLiteral("home-cards-%1").arg(i + 1), 900);
        ASSERT_FALSE(image.isNull());
        // The first card's faint fill just under the header.
        const QColor fill = image.pixelColor(4, 40);
        EXPECT_TRUE(near(fill, QColor(20, 20, 20), 8)) << fill.name().toStdString();
    }

    WeatherInfo weather{72, 74, 58, 40, QStringLiteral("cloud.sun.fill"), QStringLiteral("Partly cloudy"),
                        QStringLiteral("Cupertino"), QStringLiteral("6:58 AM"), QStringLiteral("4:52 PM")};
    QQuickItem *card = show(QStringLiteral("home/WeatherCard.qml"), {404, 80},
                            {{"weather", QVariant::fromValue(weather)}});
    ASSERT_TRUE(card);
    window->setColor(Qt::black);
    const QImage image = shoot(QStringLiteral("card-weather"));
    // The sky-blue weather symbol left of the temperature.
    bool sky = false;
    for (int x = 8; x < 40 && !sky; ++x) {
        for (int y = 25; y < 70 && !sky; ++y)
            sky = near(image.pixelColor(x, y), Palette::skyColor, 40);
    }
    EXPECT_TRUE(sky);
}

TEST_F(HomeScreenshotTest, VoiceMemosListAndExpanded)
{
    const QString folder = fakes->environment().memosFolder;
    QDir().mkpath(folder);
    for (const char *name : {"Standup notes.m4a", "Idea.m4a", "Groceries.m4a"})
        QFile::copy(QStringLiteral(PAVLET_TEST_DATA "/media/memo.m4a"), QDir(folder).filePath(QLatin1String(name)));
    make();
    QQuickItem *panel = show(QStringLiteral("media/VoiceMemosPanel.qml"), {368, 400});
    ASSERT_TRUE(panel);
    window->setColor(Qt::black);
    QImage image = shoot(QStringLiteral("voice-memos-list"));
    ASSERT_EQ(model->voice()->memos().size(), 3);
    // The coral ring of the record button at the bottom centre.
    const QColor ring = image.pixelColor(184, 400 - 13 - 8 - 62 + 1);
    EXPECT_GT(ring.red(), ring.blue()) << ring.name().toStdString();

    VoiceMemo first = model->voice()->memos().first();
    model->voice()->setNote(first, QStringLiteral("Bring the slides"));
    model->voice()->toggleExpanded(model->voice()->memos().first());
    shoot(QStringLiteral("voice-memos-expanded"));
}

namespace {

// The item named name in item's visual tree (list delegates have no QObject
// parent).
QQuickItem *findItem(QQuickItem *item, const QString &name)
{
    if (item->objectName() == name)
        return item;
    for (QQuickItem *child : item->childItems()) {
        if (QQuickItem *found = findItem(child, name))
            return found;
    }
    return nullptr;
}

} // namespace

// Typing into an expanded memo's name and note: each field keeps its focus
// and the engine stores the whole text, because the row is updated in place.
TEST_F(HomeScreenshotTest, VoiceMemoFieldsKeepFocusAndTheWholeText)
{
    const QString folder = fakes->environment().memosFolder;
    QDir().mkpath(folder);
    for (const char *name : {"Idea.m4a", "Groceries.m4a"})
        QFile::copy(QStringLiteral(PAVLET_TEST_DATA "/media/memo.m4a"), QDir(folder).filePath(QLatin1String(name)));
    make();
    QQuickItem *panel = show(QStringLiteral("media/VoiceMemosPanel.qml"), {368, 400});
    ASSERT_TRUE(panel);
    window->requestActivate();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get(), Patience::deadline(5000)));
    VoiceMemoEngine *voice = model->voice();
    ASSERT_EQ(voice->memos().size(), 2);
    const QString file = voice->memos().first().file;
    voice->toggleExpanded(voice->memos().first());
    const auto wait = [this](int ms) { spin(ms); };

    struct Field {
        const char *objectName;
        QString (*stored)(const VoiceMemo &);
    };
    const Field fields[] = {
        {"memoName", [](const VoiceMemo &m) { return m.name; }},
        {"memoNote", [](const VoiceMemo &m) { return m.note; }},
    };
    for (const Field &f : fields) {
        SCOPED_TRACE(f.objectName);
        QPointer<QQuickItem> field;
        // The row opens first.
        Patience::until([&] {
            field = findItem(panel, QLatin1String(f.objectName));
            return field && Patience::ready(field, 1000, nullptr, wait);
        }, 3000, wait);
        ASSERT_TRUE(field);
        field->forceActiveFocus();
        QTest::keyClick(window.get(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(window.get(), Qt::Key_Backspace);
        for (const char c : std::string("abc d"))
            QTest::keyClick(window.get(), c);
        Patience::until([&] { return !field || field->property("text").toString() == "abc d"; }, 1000, wait);
        ASSERT_TRUE(field) << "the row was built again";
        EXPECT_TRUE(field->hasActiveFocus());
        EXPECT_EQ(field->property("text").toString(), "abc d");
        const QList<VoiceMemo> memos = voice->memos();
        const auto stored =
            std::find_if(memos.cbegin(), memos.cend(), [&](const VoiceMemo &m) { return m.file == file; });
        ASSERT_NE(stored, memos.cend());
        EXPECT_EQ(f.stored(*stored), "abc d");
    }
    // A reload with nothing changed keeps the open row and its fields.
    QPointer<QQuickItem> note = findItem(panel, QStringLiteral("memoNote"));
    voice->reload();
    // A row built again would go within this time: nothing to wait for.
    spin(100);
    EXPECT_TRUE(note);
    EXPECT_TRUE(note && note->hasActiveFocus());
}

namespace {
// A wheel turn over the item, as the window gets it.
void wheelOver(QQuickWindow *window, QQuickItem *item, int delta)
{
    const QPointF at = ItemTree::sceneRect(item).center();
    QWheelEvent e(at, window->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                  Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(window, &e);
}
} // namespace

// Edit mode with all thirteen strip icons, after a minute tick and after
// wheel turns to either end: the clock stays out of the strip's way, no icon
// reaches under Done, and the icon at the end scrolled to stands whole with
// its remove badge inside what the strip shows. With more than five icons
// outside edit mode, their menu opens whole inside Home.
TEST_F(HomeScreenshotTest, EveryStripIconInEditModeStaysWholeAndClearOfDone)
{
    fakes->settings.setDisabledModules(QString());
    make();
    model->tick();
    model->openHome();
    // Wider than the island, as the island's window is while it moves.
    QQuickItem *island = show(QStringLiteral("notch/NotchIsland.qml"), {428, 620});
    ASSERT_TRUE(island);
    window->resize(640, 660);
    window->setColor(Qt::black);
    const auto wait = [this](int ms) { spin(ms); };
    const QStringList ids = fakes->settings.visibleChromeIconIDs();
    ASSERT_EQ(ids.size(), 13);

    // The menu of the icons opens inside Home, below its button.
    // Its menu button alone; the header is built again while Home fills.
    QQuickItem *strip = nullptr;
    QString why;
    const bool stripReady = Patience::until([&] {
        strip = ItemTree::find(island, QStringLiteral("chromeStrip"));
        why = QStringLiteral("no strip");
        return strip && Patience::ready(strip, 1000, &why, wait);
    }, 4000, wait);
    ASSERT_TRUE(stripReady) << why.toStdString();
    QTest::mouseClick(window.get(), Qt::LeftButton, {}, ItemTree::sceneRect(strip).center().toPoint());
    QObject *menu = nullptr;
    Patience::until([&] {
        menu = island->findChild<QObject *>(QStringLiteral("modulesMenu"));
        return menu && menu->property("opened").toBool();
    }, 3000, wait);
    ASSERT_TRUE(menu);
    ASSERT_TRUE(menu->property("opened").toBool());
    auto *menuParent = qvariant_cast<QQuickItem *>(menu->property("parent"));
    ASSERT_TRUE(menuParent);
    const QRectF menuRect = menuParent->mapRectToScene(QRectF(menu->property("x").toDouble(), menu->property("y").toDouble(),
                                                              menu->property("width").toDouble(),
                                                              menu->property("height").toDouble()));
    EXPECT_TRUE(ItemTree::sceneRect(island).contains(menuRect))
        << menuRect.x() << "," << menuRect.y() << " " << menuRect.width() << "x" << menuRect.height();
    shoot(QStringLiteral("home-strip-menu"), 300);
    QMetaObject::invokeMethod(menu, "close");

    model->setEditingModules(true);
    QQuickItem *clockText = ItemTree::find(island, QStringLiteral("headerClock"));
    QQuickItem *scroller = ItemTree::find(island, QStringLiteral("chromeScroller"));
    QQuickItem *done = ItemTree::find(island, QStringLiteral("editButton"));
    ASSERT_TRUE(clockText && scroller && done);
    const auto shownPart = [&] { return scroller->clip() ? ItemTree::sceneRect(scroller) : ItemTree::sceneRect(island); };
    const auto inSight = [&](const QString &id) {
        return shownPart().contains(ItemTree::sceneRect(ItemTree::find(island, QStringLiteral("chromeCell:") + id)));
    };
    // The header's parts and the strip at rest, the end waited for in sight.
    const auto settle = [&](const QString &whole, const QString &clockWas) {
        Patience::until([&] {
            return inSight(whole) && clockText->property("text").toString() != clockWas
                && Patience::ready(done, 1000, nullptr, wait) && Patience::ready(scroller, 1000, nullptr, wait);
        }, 3000, wait);
    };
    settle(ids.first(), QString());
    auto check = [&](const char *when, const QString &whole) {
        SCOPED_TRACE(when);
        EXPECT_TRUE(ItemTree::effectiveOpacity(clockText) == 0
                    || clockText->property("contentWidth").toDouble() <= clockText->width() + 0.5);
        const QRectF shown = shownPart();
        const QRectF doneRect = ItemTree::sceneRect(done);
        for (const QString &id : ids) {
            const QRectF cell = ItemTree::sceneRect(ItemTree::find(island, QStringLiteral("chromeCell:") + id));
            EXPECT_FALSE((cell & shown).intersects(doneRect)) << id.toStdString() << " under Done";
        }
        EXPECT_TRUE(shown.contains(ItemTree::sceneRect(ItemTree::find(island, QStringLiteral("chromeCell:") + whole))))
            << whole.toStdString();
        QQuickItem *badge = ItemTree::find(island, QStringLiteral("chromeRemove:") + whole);
        if (badge && badge->isVisible()) {
            EXPECT_TRUE(shown.contains(ItemTree::sceneRect(badge))) << whole.toStdString() << "'s badge";
        }
    };
    check("in edit mode", ids.first());
    QString clockWas = clockText->property("text").toString();
    clock.advanceMs(60'000);
    settle(ids.first(), clockWas);
    check("after a minute tick", ids.first());
    // Turned until the end shows: a turn past it goes on to Home's list.
    for (int i = 0; i < 10 && !inSight(ids.last()); ++i)
        wheelOver(window.get(), scroller, -120);
    settle(ids.last(), QString());
    check("scrolled to the end", ids.last());
    shoot(QStringLiteral("home-edit-13-icons-end"), 300);
    for (int i = 0; i < 10 && !inSight(ids.first()); ++i)
        wheelOver(window.get(), scroller, 120);
    clockWas = clockText->property("text").toString();
    clock.advanceMs(60'000);
    settle(ids.first(), clockWas);
    check("scrolled back after a minute tick", ids.first());
    shoot(QStringLiteral("home-edit-13-icons"), 300);
}
