#include "store/appsettings.h"
#include "home/homemodel.h"
#include "services/calendarstore.h"
#include "services/keepawake.h"
#include "media/voicememoengine.h"
#include "services/timerstore.h"
#include "support/itemtree.h"
#include "support/panelviewtest.h"
#include "support/qtprinters.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>
#include <gtest/gtest.h>

// The Home panel and its cards over the island's real model: every card
// builds without a warning, in and out of edit mode, and reports its height.
class HomePanelQmlTest : public PanelViewTest {
protected:
    QQuickItem *create(const QString &file)
    {
        QQuickItem *item = open(file, {404, 560});
        // Positioners lay out only in a window.
        if (item)
            window->show();
        return item;
    }
    // Lets the asynchronous card loaders finish.
    void settle(int ms = 300)
    {
        QDeadlineTimer deadline(ms);
        while (!deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    static QString allText(QQuickItem *item)
    {
        QString text = item->property("text").toString();
        for (QQuickItem *child : item->childItems())
            text += QLatin1Char('|') + allText(child);
        return text;
    }
    QString visibleText(QQuickItem *item) const { return PanelViewTest::allText(item); }
};

TEST_F(HomePanelQmlTest, EveryCardBuildsInAndOutOfEditMode)
{
    fakes->settings.setDisabledModules(QString());
    QQuickItem *panel = create(QStringLiteral("home/HomePanel.qml"));
    ASSERT_TRUE(panel) << qml.warnings().join('\n').toStdString();
    settle();
    EXPECT_TRUE(qml.warnings().isEmpty()) << qml.warnings().join('\n').toStdString();
    const QString text = allText(panel);
    for (const char *expected : {"NOW PLAYING", "TIMER", "WORLD CLOCKS", "SYSTEM", "QUICK ACTIONS", "Allow sleep",
                                 "SPEED TEST", "COMPRESS", "MIC CHECK", "Nothing playing", "BETA"})
        EXPECT_TRUE(text.contains(QLatin1String(expected))) << expected;
    EXPECT_GT(model->homeContentHeight(), 200);

    model->keepAwake()->toggle();
    settle(50);
    EXPECT_TRUE(allText(panel).contains(QLatin1String("Keeping this computer awake")));

    model->setEditingModules(true);
    settle();
    EXPECT_TRUE(qml.warnings().isEmpty()) << qml.warnings().join('\n').toStdString();
    EXPECT_TRUE(allText(panel).contains(QLatin1String("Shipped modules are on.")));
}

TEST_F(HomePanelQmlTest, VoiceMemosPanelBuilds)
{
    QQuickItem *panel = create(QStringLiteral("media/VoiceMemosPanel.qml"));
    ASSERT_TRUE(panel) << qml.warnings().join('\n').toStdString();
    settle(100);
    EXPECT_TRUE(qml.warnings().isEmpty()) << qml.warnings().join('\n').toStdString();
    EXPECT_TRUE(allText(panel).contains(QLatin1String("No memos yet")));
}

TEST_F(HomePanelQmlTest, VoiceMemosFlowsShowInThePanel)
{
    // A fresh engine over two recordings.
    const QString folder = fakes->environment().memosFolder;
    QDir().mkpath(folder);
    for (const char *name : {"a.m4a", "b.m4a"})
        ASSERT_TRUE(QFile::copy(QStringLiteral(PAVLET_TEST_DATA "/media/memo.m4a"), QDir(folder).filePath(QLatin1String(name))));
    VoiceMemoEngine *voice = model->voice();
    QTemporaryDir trash;
    voice->setTrashFolder(trash.path());
    QQuickItem *panel = create(QStringLiteral("media/VoiceMemosPanel.qml"));
    ASSERT_TRUE(panel);
    settle(100);
    ASSERT_EQ(voice->memos().size(), 2);
    EXPECT_TRUE(allText(panel).contains(QLatin1String("2 saved")));

    // A cleared name reads "Untitled" in the row, while its field stays empty.
    voice->rename(voice->memos().first(), QString());
    voice->setNote(voice->memos().first(), QStringLiteral("For Friday"));
    voice->toggleExpanded(voice->memos().first());
    settle(100);
    QString text = allText(panel);
    EXPECT_TRUE(text.contains(QLatin1String("|Untitled|")));
    EXPECT_TRUE(text.contains(QLatin1String("For Friday")));
    // Expanded, the detail line gives the date instead of the note.
    EXPECT_FALSE(text.contains(QString::fromUtf8("0:02  ·  For Friday")));
    voice->toggleExpanded(voice->memos().first());
    settle(50);
    EXPECT_TRUE(allText(panel).contains(QString::fromUtf8("0:02  ·  For Friday")));

    // While an export runs the header shows the engine's words and the button waits.
    fakes->tools.tools = {{"ffmpeg", "/usr/bin/ffmpeg"}};
    voice->toggleExpanded(voice->memos().first());
    voice->exportMP3(voice->memos().first());
    settle(50);
    text = allText(panel);
    EXPECT_TRUE(text.contains(voice->status()));
    EXPECT_TRUE(text.contains(QString::fromUtf8("Saving…")));

    // Deleting takes the row away.
    voice->deleteMemo(voice->memos().last());
    settle(50);
    EXPECT_EQ(allText(panel).count(QString::fromUtf8("0:02  ·")), 1);
    EXPECT_TRUE(qml.warnings().isEmpty()) << qml.warnings().join('\n').toStdString();
}

TEST_F(HomePanelQmlTest, CalendarShowsTwoEventsAndTheAllowedReminder)
{
    fakes->permissionBackend.calendar = platform::IPermissionBackend::CalendarAccess::FullAccess;
    fakes->permissionBackend.reminders = platform::IPermissionBackend::CalendarAccess::FullAccess;
    QList<platform::CalendarEvent> events;
    for (int i = 0; i < 3; ++i) {
        platform::CalendarEvent e;
        e.title = QStringLiteral("Event %1").arg(i + 1);
        e.start = clock.now().addSecs(3600 * (i + 1));
        e.end = e.start.addSecs(1800);
        events << e;
    }
    // The start-up fetch of reminders answers with one due in two hours.
    model->start();
    ASSERT_FALSE(fakes->calendar.pendingFetches.empty());
    fakes->calendar.answer(0, QList<platform::CalendarReminder>{{QStringLiteral("Pay rent"), clock.now().addSecs(7200), {}}});
    struct Case { QList<platform::CalendarEvent> events; bool option; bool allowed; QStringList shown; QStringList hidden; };
    const QList<Case> cases = {
        {events, true, true, {"Event 1", "Event 2", "Pay rent"}, {"Event 3", "Calendar is clear"}},
        {{}, true, true, {"Pay rent"}, {"Calendar is clear"}},
        {{}, false, true, {"Calendar is clear"}, {"Pay rent"}},
        {{}, true, false, {"Calendar is clear"}, {"Pay rent"}},
    };
    for (const Case &c : cases) {
        fakes->settings.setCalendarShowReminders(c.option);
        fakes->calendar.eventList = c.events;
        model->tick();
        ASSERT_TRUE(model->nextReminder());
        view = qml.create(QStringLiteral("home/CalendarCard.qml"),
                          {{"model", QVariant::fromValue<QObject *>(model.get())},
                           {"settings", QVariant::fromValue<QObject *>(&fakes->settings)},
                           {"remindersAllowed", c.allowed},
                           {"width", 380}});
        auto *card = qobject_cast<QQuickItem *>(view.get());
        ASSERT_TRUE(card) << qml.warnings().join('\n').toStdString();
        settle(20);
        const QString text = allText(card);
        for (const QString &s : c.shown)
            EXPECT_TRUE(text.contains(s)) << s.toStdString();
        for (const QString &s : c.hidden) {
            // Hidden rows may exist but not be visible: look at visible texts only.
            EXPECT_FALSE(visibleText(card).contains(s)) << s.toStdString();
        }
    }
    EXPECT_TRUE(qml.warnings().isEmpty()) << qml.warnings().join('\n').toStdString();
}

// Pointer work on Home: the icon strip, the timer's typing and edit mode,
// with real mouse events on the window.
class HomePointerTest : public HomePanelQmlTest {
protected:
    QQuickItem *panel = nullptr;
    void openHome(QSize size = {404, 560})
    {
        panel = open(QStringLiteral("home/HomePanel.qml"), size);
        ASSERT_TRUE(panel) << qml.warnings().join('\n').toStdString();
        window->show();
        settle();
    }
    QPoint at(QQuickItem *item, QPointF local) const { return item->mapToScene(local).toPoint(); }
    QPoint centre(QQuickItem *item) const { return at(item, {item->width() / 2, item->height() / 2}); }
    void press(QPoint p) { QTest::mousePress(window.get(), Qt::LeftButton, {}, p); }
    void move(QPoint p) { QTest::mouseMove(window.get(), p); }
    void release(QPoint p) { QTest::mouseRelease(window.get(), Qt::LeftButton, {}, p); }
    void click(QPoint p)
    {
        press(p);
        settle(20);
        release(p);
        settle(20);
    }
    // The centre of icon i of the strip, in the window.
    QPoint icon(QQuickItem *strip, int i) const
    {
        const double step = strip->property("implicitWidth").toDouble() > 0 ? 22 + 6 : 0;
        return at(strip, {i * step + 11, 11});
    }
    QStringList order() const { return fakes->settings.visibleChromeIconIDs(); }
};

TEST_F(HomePointerTest, IconDragReordersAcrossSeveralIconsAndEnds)
{
    showOnly({"timer", "games", "calculator", "pocket", "voice", "translator", "mirror"});
    model->setEditingModules(true);
    openHome();
    QQuickItem *strip = ItemTree::all(panel, "ChromeStrip").value(0);
    ASSERT_TRUE(strip);
    const QStringList before = order();
    ASSERT_GE(before.size(), 6);
    const QString dragged = before.first();

    // Across four icons in small steps, the icon moving each time the
    // pointer passes over the next one.
    QPoint p = icon(strip, 0);
    press(p);
    settle(20);
    for (int step = 0; step < 4 * 28 / 7; ++step) {
        p.rx() += 7;
        move(p);
        settle(15);
    }
    EXPECT_EQ(order().indexOf(dragged), 4) << order().join(',').toStdString();
    EXPECT_EQ(strip->property("dragging").toString(), dragged);
    release(p);
    settle(20);
    EXPECT_EQ(strip->property("dragging").toString(), QString());

    // Leaving edit mode ends a drag under way.
    p = icon(strip, 1);
    press(p);
    for (int step = 0; step < 3; ++step) {
        p.rx() += 7;
        move(p);
        settle(15);
    }
    EXPECT_FALSE(strip->property("dragging").toString().isEmpty());
    model->setEditingModules(false);
    settle(20);
    EXPECT_EQ(strip->property("dragging").toString(), QString());
    release(p);
}

// The strip's menu stays open while the modules change under it (turned off
// in the settings window) and the keys move its highlight: its entries
// follow without a warning.
TEST_F(HomePointerTest, TheModulesMenuFollowsModulesChangingWhileItIsOpen)
{
    fakes->settings.setDisabledModules(QString());
    openHome();
    window->requestActivate();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QObject *menu = panel->findChild<QObject *>(QStringLiteral("modulesMenu"));
    ASSERT_TRUE(menu);
    QMetaObject::invokeMethod(menu, "open");
    settle(100);
    const int all = menu->property("count").toInt();
    ASSERT_GT(all, 5);
    for (int round = 0; round < 6; ++round) {
        if (round % 2 == 0)
            showOnly({"timer", "games", "calculator", "pocket", "voice", "translator", "mirror"});
        else
            fakes->settings.setDisabledModules(QString());
        QTest::keyClick(window.get(), Qt::Key_Down);
        settle(40);
    }
    EXPECT_EQ(menu->property("count").toInt(), all);
    EXPECT_TRUE(menu->property("opened").toBool());
    // The keys still walk the entries, the highlighted one in sight.
    const int was = menu->property("currentIndex").toInt();
    QTest::keyClick(window.get(), Qt::Key_Down);
    settle(40);
    const int now = menu->property("currentIndex").toInt();
    EXPECT_EQ(now, (was + 1) % all);
    QQuickItem *entry = nullptr;
    QMetaObject::invokeMethod(menu, "itemAt", Q_RETURN_ARG(QQuickItem *, entry), Q_ARG(int, now));
    ASSERT_TRUE(entry);
    EXPECT_TRUE(entry->property("highlighted").toBool());
    EXPECT_TRUE(qml.warnings().isEmpty()) << qml.warnings().join('\n').toStdString();
    QMetaObject::invokeMethod(menu, "close");
}

TEST_F(HomePointerTest, DoneStaysInViewWithEveryIconAndTheBadgesAreNotCut)
{
    fakes->settings.setDisabledModules(QString());
    model->setEditingModules(true);
    openHome({404, 300});
    settle(400);
    ASSERT_EQ(order().size(), 13);
    QQuickItem *done = nullptr;
    for (QQuickItem *button : ItemTree::all(panel, "IslandIconButton")) {
        if (button->isVisible() && button->property("help").toString() == QLatin1String("Done"))
            done = button;
    }
    ASSERT_TRUE(done);
    const QRectF doneRect = done->mapRectToScene({0, 0, done->width(), done->height()});
    EXPECT_LE(doneRect.right(), panel->width() + 0.5) << doneRect.right();
    EXPECT_GE(doneRect.left(), 0);

    // Every remove badge of the strip lies inside whatever clips it.
    int badges = 0;
    for (QQuickItem *item : items("QQuickItem")) {
        if (!item->isVisible() || item->width() != 13 || item->height() != 13)
            continue;
        const QRectF badge = item->mapRectToScene({0, 0, 13, 13});
        for (QQuickItem *up = item->parentItem(); up; up = up->parentItem()) {
            if (!up->clip())
                continue;
            const QRectF clip = up->mapRectToScene({0, 0, up->width(), up->height()});
            // Only the badges the clip shows at all: the strip scrolls.
            if (clip.intersects(badge)) {
                EXPECT_TRUE(clip.contains(badge)) << "badge at " << badge.x() << "," << badge.y() << " cut by a clip at "
                                                  << clip.x() << "," << clip.y();
            }
        }
        ++badges;
    }
    EXPECT_GE(badges, 9);

    // Out of edit mode the strip is a menu again and the clock shows whole.
    model->setEditingModules(false);
    settle(100);
    int clocks = 0;
    for (QQuickItem *text : ItemTree::all(panel, "QQuickText")) {
        if (text->isVisible() && text->property("text").toString().startsWith(QLatin1String("Mon "))) {
            ++clocks;
            EXPECT_FALSE(text->property("truncated").toBool()) << text->width();
        }
    }
    EXPECT_EQ(clocks, 1);
}

TEST_F(HomePointerTest, TypedTimeCommits)
{
    struct Case {
        const char *name;
        std::function<void(QQuickItem *field)> finish;
        bool stillTyping;
        int seconds;
    };
    const std::vector<Case> cases = {
        {"Return", [this](QQuickItem *) { QTest::keyClick(window.get(), Qt::Key_Return); }, false, 90},
        {"a click on another card",
         [this](QQuickItem *) { click(centre(ItemTree::find(panel, QStringLiteral("homeCard:clocks")))); }, false, 90},
        {"a click on the field itself", [this](QQuickItem *field) { click(centre(field)); }, true, 25 * 60},
    };
    showOnly({"timer", "clocks"});
    openHome();
    for (const Case &c : cases) {
        model->timer()->setDuration(25 * 60);
        QQuickItem *field = nullptr;
        for (QQuickItem *f : ItemTree::all(panel, "QQuickTextField"))
            field = f;
        ASSERT_TRUE(field);
        click(centre(field)); // on the time shown there
        ASSERT_TRUE(field->isVisible()) << c.name;
        QTest::keyClick(window.get(), Qt::Key_A, Qt::ControlModifier);
        for (const char key : {'1', ':', '3', '0'})
            QTest::keyClick(window.get(), key);
        settle(20);
        c.finish(field);
        settle(20);
        EXPECT_EQ(field->isVisible(), c.stillTyping) << c.name;
        EXPECT_EQ(model->timer()->remaining(), c.seconds) << c.name;
    }
}

TEST_F(HomePointerTest, EditModeOnlyStopsClicksAndTheLibraryTilePresses)
{
    showOnly({"timer"});
    openHome();
    for (const bool editing : {false, true}) {
        model->setEditingModules(editing);
        model->timer()->setDuration(25 * 60);
        settle(100);
        // The minute buttons keep their look; a click changes the time only
        // outside edit mode.
        const QList<QQuickItem *> presses = ItemTree::all(panel, "IslandPressStyle");
        QQuickItem *plus = nullptr;
        for (QQuickItem *p : presses) {
            if (p->property("step").toInt() == 1)
                plus = p;
        }
        ASSERT_TRUE(plus);
        EXPECT_DOUBLE_EQ(plus->opacity(), 1.0) << "editing " << editing;
        click(centre(plus));
        EXPECT_EQ(model->timer()->remaining(), editing ? 25 * 60 : 26 * 60) << "editing " << editing;
    }
    QQuickItem *library = ItemTree::find(panel, QStringLiteral("libraryPress"));
    ASSERT_TRUE(library);
    press(centre(library));
    settle(300);
    EXPECT_LT(library->childItems().first()->scale(), 0.99);
    release(centre(library));
}

TEST_F(HomePointerTest, SmallCardDetails)
{
    // The system meters shrink to 80 % of 12, 9.6, and no further.
    fakes->load.uptime = 3 * 86400 + 4 * 3600;
    fakes->load.disk = 120'000'000'000;
    model->setState(Island::NotchState::home); // only the open island reads the load
    model->tick();
    for (const double width : {400.0, 150.0, 60.0}) {
        view = qml.create(QStringLiteral("home/SystemCard.qml"),
                          {{"model", QVariant::fromValue<QObject *>(model.get())},
                           {"settings", QVariant::fromValue<QObject *>(&fakes->settings)},
                           {"width", width}});
        auto *card = qobject_cast<QQuickItem *>(view.get());
        ASSERT_TRUE(card) << qml.warnings().join('\n').toStdString();
        settle(20);
        double smallest = 100;
        for (QQuickItem *text : ItemTree::all(card, "CardText")) {
            const double size = text->property("fontInfo").value<QVariantMap>().value("pixelSize").toDouble();
            if (text->property("text").toString().contains(QLatin1String("d 4h")))
                smallest = std::min(smallest, size * text->scale());
        }
        EXPECT_GE(smallest, 9.6 - 1e-9) << width;
        if (width < 100) {
            EXPECT_NEAR(smallest, 9.6, 1e-6);
        }
        if (width > 300) {
            EXPECT_NEAR(smallest, 12, 1e-6);
        }
    }

    // "Join" presses like the island's other buttons.
    fakes->permissionBackend.calendar = platform::IPermissionBackend::CalendarAccess::FullAccess;
    platform::CalendarEvent call;
    call.title = QStringLiteral("Standup");
    call.start = clock.now().addSecs(600);
    call.end = call.start.addSecs(900);
    call.url = QUrl(QStringLiteral("https://meet.google.com/abc-defg-hij"));
    fakes->calendar.eventList = {call};
    showOnly({"calendar"});
    model->tick();
    openHome();
    QQuickItem *join = nullptr;
    for (QQuickItem *p : ItemTree::all(panel, "IslandPressStyle")) {
        if (p->isVisible() && allText(p).contains(QLatin1String("Join")))
            join = p;
    }
    ASSERT_TRUE(join) << allText(panel).toStdString();
    press(centre(join));
    settle(300);
    EXPECT_TRUE(join->property("pressed").toBool());
    release(centre(join));
}

namespace {
QObject *engineOf(QQuickItem *card)
{
    return card ? card->property("engine").value<QObject *>() : nullptr;
}
} // namespace

// What a tool card starts belongs to the card: the mic check's take ends
// when its card goes; the zip card's dialog holds the island open, and its
// answer still zips once the card is gone, without touching the card.
TEST_F(HomePanelQmlTest, ToolCardsWorkOwnedByTheCardEndsOrFinishesSafelyWhenTheCardGoes)
{
    QDir().mkpath(fakes->environment().downloadsFolder);
    showOnly({"micCheck", "compress"});
    model->openHome();
    QQuickItem *panel = create(QStringLiteral("home/HomePanel.qml"));
    ASSERT_TRUE(panel) << qml.warnings().join('\n').toStdString();
    settle();
    ASSERT_EQ(ItemTree::all(panel, "MicCheckCard").size(), 1);
    ASSERT_EQ(ItemTree::all(panel, "ZipCard").size(), 1);

    QObject *mic = engineOf(ItemTree::all(panel, "MicCheckCard").constFirst());
    ASSERT_TRUE(mic);
    QMetaObject::invokeMethod(mic, "toggleRecord");
    fakes->micRecorder.answer(true);
    ASSERT_TRUE(fakes->micRecorder.recording);

    QObject *zip = engineOf(ItemTree::all(panel, "ZipCard").constFirst());
    ASSERT_TRUE(zip);
    QMetaObject::invokeMethod(zip, "pick");
    ASSERT_EQ(fakes->filePicker.open.size(), 1);
    EXPECT_TRUE(model->isHeldOpen());
    // The pointer goes over to the dialog: the island stays open.
    model->pointerExited();
    advance(5000);
    EXPECT_EQ(model->state(), Island::NotchState::home);

    // Both modules are hidden while the take runs and the dialog is up.
    showOnly({"timer"});
    settle();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(ItemTree::all(panel, "MicCheckCard").isEmpty());
    EXPECT_FALSE(fakes->micRecorder.recording) << "the take ended with its card";
    EXPECT_EQ(fakes->micRecorder.stops, 1);

    fakes->filePicker.close(QList<QUrl>{QUrl::fromLocalFile(tempPath("a.txt"))});
    ASSERT_EQ(fakes->zipper.runs.size(), 1);
    fakes->zipper.finish(0, 0, "fifo\nsecret.txt");
    settle(50);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(model->isHeldOpen());
    // The island closes now that nothing holds it and the pointer is away.
    advance(5000);
    EXPECT_EQ(model->state(), Island::NotchState::collapsed);

    // The next zip card says what the run, ended while there was none, left out.
    showOnly({"compress"});
    model->openHome();
    settle();
    const QList<QQuickItem *> cards = ItemTree::all(panel, "ZipCard");
    ASSERT_EQ(cards.size(), 1);
    const QString status = engineOf(cards.first())->property("status").toString();
    EXPECT_TRUE(status.startsWith("Saved Pavlet ") && status.endsWith(".zip, left out: fifo, secret.txt"))
        << status.toStdString();
}

TEST_F(HomePanelQmlTest, SaveMenuListsTheFormatsThenADividerThenHelp)
{
    showOnly({"youtube", "spotify"});
    // The cards come in over several frames, as on screen.
    QQuickWindow frames;
    frames.resize(404, 560);
    frames.show();
    qml.engine().setIncubationController(frames.incubationController());
    QQuickItem *panel = create(QStringLiteral("home/HomePanel.qml"));
    ASSERT_TRUE(panel) << qml.warnings().join('\n').toStdString();
    settle(800);
    QList<QObject *> menus;
    for (QQuickItem *card : ItemTree::all(panel, "MediaDownloadCard"))
        menus << card->findChildren<QObject *>(QStringLiteral("saveMenu"));
    ASSERT_EQ(menus.size(), 2);
    QStringList seen;
    for (QObject *menu : menus) {
        QStringList entries;
        const int count = menu->property("count").toInt();
        for (int i = 0; i < count; ++i) {
            QQuickItem *entry = nullptr;
            QMetaObject::invokeMethod(menu, "itemAt", Q_RETURN_ARG(QQuickItem *, entry), Q_ARG(int, i));
            const bool divider = entry && QString(entry->metaObject()->className()).contains("Separator");
            entries << (divider ? QStringLiteral("—") : entry ? entry->property("text").toString() : QString());
        }
        seen << entries.join(',');
        QMetaObject::invokeMethod(menu, "open");
        settle(100);
        QMetaObject::invokeMethod(menu, "close");
    }
    seen.sort();
    EXPECT_EQ(seen, (QStringList{"MP3,—,How it works", "MP4,MP3,MOV,—,How it works"}));
}

TEST_F(HomePanelQmlTest, KeepAwakeSaysSoWhenNothingHoldsTheMachineAwake)
{
    showOnly({"awake"});
    fakes->sleepInhibitor.fail = true;
    QQuickItem *panel = create(QStringLiteral("home/HomePanel.qml"));
    ASSERT_TRUE(panel) << qml.warnings().join('\n').toStdString();
    settle();
    model->keepAwake()->toggle();
    settle(50);
    EXPECT_FALSE(model->keepAwake()->isOn());
    EXPECT_TRUE(visibleText(panel).contains("Couldn't keep this computer awake|Off"));
    fakes->sleepInhibitor.fail = false;
    model->keepAwake()->toggle();
    settle(50);
    EXPECT_TRUE(visibleText(panel).contains("Keeping this computer awake|On"));
}
