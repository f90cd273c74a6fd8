#include "platform/linux/qtclipboard.h"
#include "platform/linux/qtscreengrabber.h"
#include "services/clipboardstore.h"
#include "services/systemactions.h"
#include "support/pavlettest.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QScreen>

namespace {

// The system clipboard (the offscreen platform's in these tests).
TEST(QtClipboardTest, CountsChangesAndFeedsTheHistory)
{
    platform::QtClipboard clipboard;
    ClipboardStore store(&clipboard);
    QGuiApplication::clipboard()->setText("  copied elsewhere\n");
    const int afterFirst = clipboard.changeCount();
    EXPECT_GT(afterFirst, 0);
    EXPECT_EQ(store.poll().items.value(0).text, "  copied elsewhere\n");

    // What the island itself puts back is not recorded twice.
    clipboard.setText("from history");
    store.lastChangeCount = clipboard.changeCount();
    EXPECT_EQ(store.poll().items.size(), 1);
    EXPECT_EQ(clipboard.text(), QString("from history"));

    QGuiApplication::clipboard()->setText("ghp_secretsecret");
    EXPECT_EQ(store.poll().items.size(), 1);
}

TEST(ScreenshotTest, PutsTheWholeScreenOnTheClipboard)
{
    QScreen *screen = QGuiApplication::primaryScreen();
    ASSERT_TRUE(screen);
    QGuiApplication::clipboard()->clear();
    platform::QtScreenGrabber grabber;
    platform::QtClipboard clipboard;
    takeScreenshotToClipboard(&grabber, &clipboard);
    const QImage image = QGuiApplication::clipboard()->image();
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), screen->geometry().size() * screen->devicePixelRatio());
}

} // namespace
