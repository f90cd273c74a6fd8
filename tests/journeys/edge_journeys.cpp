#include "journey.h"
#include "filewindow.h"

#include "core/userdefaults.h"
#include "island/notchviewmodel.h"
#include "notch/notchgeometry.h"
#include "notch/notchpanel.h"
#include "tools/pocketstore.h"
#include "support/screenshots.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPainterPath>
#include <QQuickTextDocument>
#include <QTextBlock>
#include <QTextDocument>
#include <QAbstractTextDocumentLayout>
#include <QTextLayout>
#include <QScreen>
#include <QQuickItem>
#include <gtest/gtest.h>

namespace {

// The popups (tooltips, menus) the island shows now: their items in the
// window's popup layer.
QList<QQuickItem *> shownPopups(Journey &j)
{
    return j.items("QQuickPopupItem", [](QQuickItem *i) { return i->isVisible() && i->opacity() > 0; });
}

// Where a popup stands, in the island window's coordinates.
QRectF placeOf(QQuickItem *popup)
{
    return popup->mapRectToScene(QRectF(0, 0, popup->width(), popup->height()));
}

// Whether the window system shows the whole popup: the island's window is
// cut to the island's outline.
bool whole(Journey &j, QQuickItem *popup)
{
    NotchPanel *panel = j.panel();
    const QPainterPath outline = islandOutlinePath(panel->islandRect(), panel->cornerRadius(), panel->floating());
    return outline.contains(placeOf(popup));
}

// Whether an item or one below it reads text.
bool reads(QQuickItem *item, const QString &text)
{
    if (item->property("text").toString() == text)
        return true;
    for (QQuickItem *child : item->childItems()) {
        if (reads(child, text))
            return true;
    }
    return false;
}

// What a user sees of a popup: the screen at its corners, just inside its
// border, is its own colour, not the desktop's black showing where the
// window system cut it off. Empty when all four corners are drawn.
QString cutCorners(Journey &j, QQuickItem *popup)
{
    j.waitFor([&] { return popup->opacity() > 0.99; }, 3000, QStringLiteral("the popup to fade in"));
    const QRect place(j.panel()->mapToGlobal(placeOf(popup).topLeft().toPoint()), placeOf(popup).size().toSize());
    const QImage seen = Screenshots::settled([&] {
        return QGuiApplication::primaryScreen()->grabWindow(0, place.x(), place.y(), place.width(), place.height()).toImage();
    }, 0, 60, 30, XInput::pause);
    const QRect inside = seen.rect().adjusted(3, 3, -3, -3);
    QStringList cut;
    for (const QPoint corner : {inside.topLeft(), inside.topRight(), inside.bottomLeft(), inside.bottomRight()}) {
        if (!seen.rect().contains(corner) || Screenshots::near(seen.pixelColor(corner), Qt::black, 16))
            cut << QStringLiteral("%1,%2").arg(place.x() + corner.x()).arg(place.y() + corner.y());
    }
    return cut.join(' ');
}

QString text(const QRectF &r)
{
    return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

// The items on the island that show a tooltip of their own when hovered,
// with its text.
QList<QPair<QQuickItem *, QString>> tooltipHosts(Journey &j)
{
    QList<QPair<QQuickItem *, QString>> hosts;
    NotchPanel *panel = j.panel();
    const QRectF island = panel->islandRect();
    for (QQuickItem *item : j.items("QQuickItem", [](QQuickItem *i) { return i->isVisible(); })) {
        for (QObject *child : item->children()) {
            if (!child->inherits("QQuickToolTipAttached"))
                continue;
            const QString tip = child->property("text").toString();
            const QRectF at = item->mapRectToScene(QRectF(0, 0, item->width(), item->height()));
            // Only what a user can point at: shown, on the island, in sight.
            if (!tip.isEmpty() && item->isEnabled() && island.contains(at.center()) && item->width() > 2)
                hosts << qMakePair(item, tip);
        }
    }
    return hosts;
}

// Hovers every tooltip's control the island shows now and checks that the
// tooltip shows whole inside the island. Returns how many tooltips showed.
int hoverEveryTooltip(Journey &j, const QString &where)
{
    int shown = 0;
    for (const auto &[host, tip] : tooltipHosts(j)) {
        SCOPED_TRACE(QStringLiteral("%1: the tooltip \"%2\"").arg(where, tip).toStdString());
        QPointer<QQuickItem> guard(host);
        j.ready(host);
        if (!guard)
            continue;
        j.hands().moveTo(j.screenPoint(host), 3);
        QQuickItem *popup = nullptr;
        const auto showing = [&] {
            popup = nullptr;
            for (QQuickItem *p : shownPopups(j)) {
                if (reads(p, tip))
                    popup = p;
            }
            return popup != nullptr;
        };
        if (!j.waitFor(showing, 4000, QStringLiteral("the tooltip to show"))) {
            ADD_FAILURE() << "never showed";
            continue;
        }
        ++shown;
        // Placed at once; a settle lets a popup that would move come to rest.
        j.waitFor([&] { return showing() && whole(j, popup); }, 1500, QStringLiteral("the tooltip to lie inside"));
        if (showing()) {
            EXPECT_TRUE(whole(j, popup)) << "the tooltip at " << text(placeOf(popup)).toStdString()
                                         << " is cut by the island " << text(j.panel()->islandRect()).toStdString();
            EXPECT_EQ(cutCorners(j, popup), QString()) << "corners of the tooltip not drawn";
        }
        if (shown == 1 || (showing() && !whole(j, popup)))
            j.shot(where + QStringLiteral("-") + tip);
    }
    return shown;
}

// Clicks what opens a menu and checks the menu lies whole inside the
// island, without a tooltip over it; Escape closes the menu and does
// nothing else.
void openMenu(Journey &j, QQuickItem *opener, const QString &what)
{
    SCOPED_TRACE(what.toStdString());
    ASSERT_TRUE(opener) << "no " << what.toStdString();
    const Island::NotchState before = j.island().state();
    j.click(opener);
    QQuickItem *menu = nullptr;
    ASSERT_TRUE(j.waitFor([&] {
        menu = nullptr;
        for (QQuickItem *p : shownPopups(j)) {
            if (p->parent() && p->parent()->inherits("QQuickMenu"))
                menu = p;
        }
        return menu != nullptr;
    }, 4000, QStringLiteral("the menu to show")));
    j.waitFor([&] { return whole(j, menu); }, 1500, QStringLiteral("the menu to lie inside"));
    EXPECT_TRUE(whole(j, menu)) << "the menu at " << text(placeOf(menu)).toStdString() << " is cut by the island "
                                << text(j.panel()->islandRect()).toStdString();
    EXPECT_EQ(cutCorners(j, menu), QString()) << "corners of the menu not drawn";
    EXPECT_TRUE(j.waitFor([&] { return shownPopups(j).size() == 1; }, 3000)) << "a tooltip stays over the menu";
    j.shot(what);
    j.hands().key(QStringLiteral("Escape"));
    EXPECT_TRUE(j.waitFor([&] { return shownPopups(j).isEmpty(); }, 3000, QStringLiteral("the menu to close")));
    j.settle();
    EXPECT_EQ(j.island().state(), before) << "Escape closed the menu and left the panel too";
    if (before == Island::NotchState::home && j.island().state() != before) {
        ASSERT_TRUE(j.openHome());
    }
}

} // namespace

// With every module on, every tooltip and menu of Home and of the tools
// opened from its strip opens whole inside the island's outline (the
// island's window is cut to it), wherever its control stands.
TEST(IslandEdges, EveryTooltipAndMenuOpensInsideTheIsland)
{
    Journey j({.everyModule = true});
    ASSERT_TRUE(j.start());
    walk(j, {
        {"open Home and hover every tooltip's control", [](Journey &j) {
             ASSERT_TRUE(j.openHome());
             j.settle();
             EXPECT_GE(hoverEveryTooltip(j, "Home"), 5);
         }},
        {"open the strip's Modules menu once its tooltip shows", [](Journey &j) {
             QQuickItem *modules = j.item("IslandIconButton", [](QQuickItem *i) {
                 return i->isVisible() && i->property("help").toString() == "Modules";
             });
             ASSERT_TRUE(modules);
             j.hands().moveTo(j.screenPoint(modules), 3);
             EXPECT_TRUE(j.waitFor([&] { return !shownPopups(j).isEmpty(); }, 4000, QStringLiteral("the tooltip")));
             openMenu(j, modules, "Modules menu");
         }},
        {"open each download card's Save menu", [](Journey &j) {
             const QList<QQuickItem *> saves = j.items("QQuickText", [](QQuickItem *i) {
                 return i->isVisible() && i->property("text").toString() == "Save";
             });
             ASSERT_FALSE(saves.isEmpty());
             for (int i = 0; i < saves.size(); ++i) {
                 // Home may have been opened again: its items are new.
                 const QList<QQuickItem *> now = j.items("QQuickText", [](QQuickItem *i) {
                     return i->isVisible() && i->property("text").toString() == "Save";
                 });
                 ASSERT_EQ(now.size(), saves.size());
                 openMenu(j, now.at(i), "Save menu");
             }
             ASSERT_TRUE(j.collapse()); // Home, scrolled to its end, goes
         }},
        {"hover every tooltip's control in the tools", [](Journey &j) {
             for (const QString tool : {"Translator", "Calculator", "Pocket", "Voice memos"}) {
                 SCOPED_TRACE(tool.toStdString());
                 ASSERT_TRUE(j.openFromStrip(tool));
                 j.settle();
                 EXPECT_GE(hoverEveryTooltip(j, tool), 1);
                 if (tool == QStringLiteral("Translator"))
                     openMenu(j, j.text(QStringLiteral("Spanish")), "Translator's language menu");
                 ASSERT_TRUE(j.collapse());
             }
         }},
    });
}

// A drop of hundreds of files at once: the pocket lists them newest first,
// each row drawn once, none over another, before any scrolling.
TEST(IslandEdges, AHugeDropOnThePocketDrawsEachRowOnce)
{
    Journey j({.everyModule = true});
    ASSERT_TRUE(j.start());
    QDir().mkpath(j.folder("Documents/many"));
    FileWindow files;
    for (int i = 1; i <= 300; ++i) {
        const QString path = j.folder(QStringLiteral("Documents/many/f%1.txt").arg(i, 3, 10, QLatin1Char('0')));
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("x");
        files.offered << QUrl::fromLocalFile(path);
    }
    files.move(60, 500);
    files.show();
    ASSERT_TRUE(j.waitFor([&] { return files.windowHandle() && files.windowHandle()->isExposed(); }, 5000));
    PocketStore *pocket = j.island().pocket();
    const QList<QUrl> many = files.offered;
    const QString held = j.folder("Documents/notes.txt");
    {
        QFile f(held);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("held before");
    }
    walk(j, {
        {"drop one file", [&](Journey &j) {
             files.offered = {QUrl::fromLocalFile(held)};
             dropOnIsland(j, files);
         },
         [&](Journey &j) { EXPECT_TRUE(j.waitFor([&] { return pocket->items().size() == 1; }, 5000)); }},
        {"drop 300 more on the island", [&](Journey &j) {
             j.collapse();
             files.offered = many;
             dropOnIsland(j, files);
         },
         [&](Journey &j) {
             ASSERT_TRUE(j.waitFor([&] { return pocket->items().size() == 301; }, 20000));
             j.settle();
             // The rows in sight: each at a place of its own, shown whole.
             QQuickItem *list = j.item("QQuickListView", [](QQuickItem *i) { return i->objectName() == "pocketList"; });
             ASSERT_TRUE(list);
             const QRectF view = list->mapRectToScene(QRectF(0, 0, list->width(), list->height()));
             QList<QQuickItem *> shown;
             EXPECT_TRUE(j.waitFor([&] {
                 shown = j.items("PocketRow", [&](QQuickItem *r) {
                     const QRectF at = r->mapRectToScene(QRectF(0, 0, r->width(), r->height()));
                     return r->isVisible() && r->opacity() > 0 && view.intersects(at);
                 });
                 for (int a = 0; a < shown.size(); ++a) {
                     for (int b = a + 1; b < shown.size(); ++b) {
                         const QRectF ra = shown[a]->mapRectToScene(QRectF(0, 0, shown[a]->width(), shown[a]->height()));
                         const QRectF rb = shown[b]->mapRectToScene(QRectF(0, 0, shown[b]->width(), shown[b]->height()));
                         if (ra.intersects(rb))
                             return false;
                     }
                 }
                 return !shown.isEmpty();
             }, 3000, QStringLiteral("the rows in sight to stand apart")));
             QStringList names;
             for (QQuickItem *r : shown)
                 names << r->property("name").toString() + "@" + QString::number(r->mapToScene(QPointF()).y());
             EXPECT_TRUE(j.text("f001.txt")) << names.join(' ').toStdString();
             j.shot("after the drop");
         }},
    });
}

// The scratch pad with a note longer than its three lines, the last line
// Arabic: scrolled to its end it shows nothing of the lines above in the
// card's padding, and the Arabic paragraph starts at the right.
TEST(IslandEdges, TheScratchPadClipsItsTextAndLaysOutEachParagraphItsWay)
{
    const QString arabic = QString::fromUtf8("مرحبا بالعالم");
    JourneySetup setup = {.everyModule = true};
    setup.prepare = [&](UserDefaults &d) {
        d.setString("scratchNote", QStringLiteral("Milk\nEggs\nBread\nButter\n") + arabic);
    };
    Journey j(setup);
    ASSERT_TRUE(j.start());
    walk(j, {
        {"open Home, click into the pad and go to its end", [](Journey &j) {
             ASSERT_TRUE(j.openHome());
             QQuickItem *pad = j.item("QQuickTextArea", [](QQuickItem *i) {
                 return i->property("placeholderText").toString() == "Type a thought";
             });
             ASSERT_TRUE(pad);
             j.click(pad);
             j.hands().key("End", false, true);
         },
         [&](Journey &j) {
             QQuickItem *pad = j.item("QQuickTextArea", [](QQuickItem *i) {
                 return i->property("placeholderText").toString() == "Type a thought";
             });
             ASSERT_TRUE(pad);
             QQuickItem *box = pad->parentItem();
             while (box && !box->inherits("QQuickScrollView"))
                 box = box->parentItem();
             ASSERT_TRUE(box);
             // Scrolled: the first line is above the box.
             ASSERT_LT(pad->mapToItem(box, QPointF(0, 0)).y(), -4);
             // The Arabic paragraph starts at the right: on the screen its
             // line has nothing drawn in its left half.
             QTextDocument *doc = pad->property("textDocument").value<QQuickTextDocument *>()->textDocument();
             const QTextBlock last = doc->lastBlock();
             ASSERT_EQ(last.text(), arabic);
             const QRectF lineBox = doc->documentLayout()->blockBoundingRect(last);
             const QPointF lineAt = pad->mapToScene(lineBox.topLeft());
             const QPoint lineOnScreen = j.panel()->mapToGlobal(lineAt.toPoint());
             const QImage line = QGuiApplication::primaryScreen()
                                     ->grabWindow(0, lineOnScreen.x(), lineOnScreen.y(), int(pad->width()),
                                                  int(lineBox.height()))
                                     .toImage();
             int leftmost = line.width();
             for (int y = 0; y < line.height(); ++y) {
                 for (int x = 0; x < line.width(); ++x) {
                     if (qGray(line.pixel(x, y)) > 90)
                         leftmost = std::min(leftmost, x);
                 }
             }
             EXPECT_LT(leftmost, line.width()) << "the Arabic line is not in sight";
             EXPECT_GT(leftmost, line.width() / 2) << "the Arabic line starts at the left";
             // No piece of a line shows in the card's padding above the box
             // or at the box's top: its lines show whole.
             const QRectF at = box->mapRectToScene(QRectF(0, 0, box->width(), box->height()));
             const QPoint corner = j.panel()->mapToGlobal(at.topLeft().toPoint());
             const QImage strip = QGuiApplication::primaryScreen()
                                      ->grabWindow(0, corner.x(), corner.y() - 5, int(at.width()), 8)
                                      .toImage();
             int bright = 0;
             for (int y = 0; y < strip.height(); ++y) {
                 for (int x = 0; x < strip.width(); ++x)
                     bright += qGray(strip.pixel(x, y)) > 90;
             }
             EXPECT_EQ(bright, 0) << "pieces of a line show above the pad";
         }},
        {"look at it", [](Journey &j) { j.shot("scratch pad at its end"); }},
    });
}
