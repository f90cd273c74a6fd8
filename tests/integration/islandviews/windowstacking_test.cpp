#include "notch/notchpanel.h"
#include "support/patience.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>

#include <algorithm>

namespace {
// The top-level windows of the display, bottom first.
QList<quint64> stacking()
{
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t *c = x11->connection();
    xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    QList<quint64> out;
    if (xcb_query_tree_reply_t *tree = xcb_query_tree_reply(c, xcb_query_tree(c, screen->root), nullptr)) {
        const xcb_window_t *children = xcb_query_tree_children(tree);
        for (int i = 0; i < xcb_query_tree_children_length(tree); ++i)
            out << children[i];
        free(tree);
    }
    return out;
}
} // namespace

TEST(WindowStackingTest, TheEditorsControlsStayOverTheIslandAndItsShadeUnder)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        GTEST_SKIP() << "needs an X server";
    NotchPanel island(nullptr);
    QWindow shade, controls;
    for (QWindow *w : {static_cast<QWindow *>(&island), &shade, &controls}) {
        w->setFlags(Qt::FramelessWindowHint | Qt::Tool | Qt::WindowStaysOnTopHint);
        w->setGeometry(600, 0, 300, 200);
        w->show();
    }
    island.setStackedBelow(&shade);
    island.setStackedAbove(&controls);
    // The island comes to the front after the editor's panels, as it does
    // when the island's edit phase changes.
    controls.raise();
    island.bringToFront();
    QList<quint64> order;
    qsizetype s = -1, i = -1, c = -1;
    Patience::until([&] {
        order = stacking();
        s = order.indexOf(shade.winId());
        i = order.indexOf(island.winId());
        c = order.indexOf(controls.winId());
        return s >= 0 && s < i && i < c;
    }, 2000);
    ASSERT_GE(s, 0);
    EXPECT_LT(s, i);
    EXPECT_LT(i, c);
}
