#include "style/palette.h"
#include "tools/calculatorengine.h"
#include "support/panelviewtest.h"
#include "tools/pocketstore.h"
#include "tools/toolviews.h"
#include "tools/translatorengine.h"

#include <QFile>
#include <QElapsedTimer>
#include <QQmlExpression>
#include <QQmlContext>
#include <QQuickWindow>
#include <QTemporaryDir>
#include <QTest>

class ToolPanelsTest : public PanelViewTest {
protected:
    // Holds a new one-byte file of that name in the shown pocket; its row.
    QQuickItem *holdFile(const QString &name)
    {
        QFile f(tempPath(name));
        if (!f.open(QIODevice::WriteOnly))
            return nullptr;
        f.write("x");
        f.close();
        model->pocket()->ingest({QUrl::fromLocalFile(f.fileName())});
        QObject *list = find("pocketList");
        if (!list)
            return nullptr;
        list->setProperty("currentIndex", 0);
        return list->property("currentItem").value<QQuickItem *>();
    }
};

TEST_F(ToolPanelsTest, EveryPanelLoads)
{
    for (const char *file : {"tools/CalculatorPanel.qml", "tools/PocketPanel.qml", "tools/TranslatorPanel.qml"}) {
        EXPECT_TRUE(open(QString::fromLatin1(file))) << file;
        view.reset();
    }
}

namespace {
QList<QQuickItem *> itemsOfType(QQuickItem *root, const char *type)
{
    QList<QQuickItem *> found;
    for (QQuickItem *child : root->childItems()) {
        if (QString::fromLatin1(child->metaObject()->className()).startsWith(QLatin1String(type)))
            found << child;
        found << itemsOfType(child, type);
    }
    return found;
}
} // namespace

TEST(CalcPanelRulesTest, SubtitlePadAndKeyLooks)
{
    EXPECT_EQ(CalcPanel::subtitle(false, false), "Tap a b/c for fractions");
    EXPECT_EQ(CalcPanel::subtitle(false, true), "Fractions on");
    EXPECT_EQ(CalcPanel::subtitle(true, false), "Units");
    EXPECT_EQ(CalcPanel::subtitle(true, true), "Units");

    QStringList captions;
    for (const QList<CalcKey> &row : CalcPanel::rows()) {
        QStringList line;
        for (const CalcKey &key : row)
            line << key.label();
        captions << line.join(u' ');
    }
    EXPECT_EQ(captions, QStringList({"AC ± % ÷", "7 8 9 ×", "4 5 6 −", "1 2 3 +", "0 . a b/c ="}));

    using K = CalcKey::Kind;
    struct Case { CalcKey key; CalcPanel::KeyLook look; };
    const Case cases[] = {
        {CalcKey::ofOp(CalcOp::div), {"amber", "onAccent", 16, true, true}},
        {CalcKey::of(K::equals), {"yellow", "onAccent", 16, true, true}},
        {CalcKey::of(K::percent), {"fillStrong", "textPrimary", 16, true, false}},
        {CalcKey::of(K::fraction), {"fillStrong", "textPrimary", 10, false, false}},
        {CalcKey::of(K::dot), {"fill", "textPrimary", 16, true, false}},
        {CalcKey::ofDigit(0), {"fill", "textPrimary", 16, true, false}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(CalcPanel::look(c.key), c.look) << c.key.label().toStdString();
    EXPECT_EQ(CalcPanel::expressionLine(""), " ");
    // The short form of a long whole part keeps its size readable.
    EXPECT_EQ(CalcPanel::compactWhole("9027081243722166"), QString::fromUtf8("9.027…×10¹⁵"));
    EXPECT_EQ(CalcPanel::compactWhole("12345678901"), QString::fromUtf8("1.234…×10¹⁰"));
    EXPECT_EQ(CalcPanel::compactWhole("1234"), "1234");
}

// A long whole part too wide even at its smallest size shows its first
// digits and its power of ten inside the readout, never the end of the
// number alone.
TEST_F(ToolPanelsTest, ANarrowReadoutShowsALongWholePartInShort)
{
    islandViews = std::make_unique<IslandViews>(qml, model.get(), &fakes->settings, homeParts.get());
    view = islandViews->create("tools/CalcReadoutView.qml",
                               {{"width", 140},
                                {"height", 52},
                                {"readout", QVariant::fromValue(CalcReadout::fraction(false, QStringLiteral("9027081243722166"),
                                                                                      "498", "997"))}});
    auto *readout = qobject_cast<QQuickItem *>(view.get());
    ASSERT_TRUE(readout);
    window = std::make_unique<QQuickWindow>();
    window->resize(140, 52);
    readout->setParentItem(window->contentItem());
    window->show();
    auto *whole = qobject_cast<QQuickItem *>(find("whole"));
    ASSERT_TRUE(whole);
    EXPECT_EQ(whole->property("text").toString(), QString::fromUtf8("9.027…×10¹⁵"));
    // Laid out: the short form starts inside the readout, uncut.
    EXPECT_TRUE(waitUntil([&] { return whole->width() > 0 && !whole->property("truncated").toBool(); }));
    EXPECT_GE(whole->mapToItem(readout, QPointF(0, 0)).x(), -0.5);
}

// The pad's buttons and the header's controls reach the engine; the unit
// card leaves it alone; the readout turns coral in the error state.
TEST_F(ToolPanelsTest, CalculatorPadHeaderAndReadout)
{
    model->openCalculator();
    QQuickItem *panel = open("tools/CalculatorPanel.qml", {348, 484});
    ASSERT_TRUE(panel);
    CalculatorEngine *calc = model->calculator();
    EXPECT_EQ(text("subtitle"), "Tap a b/c for fractions");
    EXPECT_EQ(text("expression"), " ");

    const QList<QQuickItem *> keys = itemsOfType(panel, "CalcPadButton");
    ASSERT_EQ(keys.size(), 20);
    auto tap = [&](const QString &caption) {
        for (QQuickItem *key : keys) {
            if (key->property("key").value<CalcKey>().label() == caption) {
                QMetaObject::invokeMethod(key, "clicked");
                return;
            }
        }
        ADD_FAILURE() << "no key " << caption.toStdString();
    };
    for (const char *c : {"7", "×", "6", "="})
        tap(QString::fromUtf8(c));
    EXPECT_EQ(calc->display(), "42");

    panel->setProperty("extras", true);
    EXPECT_EQ(text("subtitle"), "Units");
    EXPECT_EQ(text("unitsToggle"), "Pad");
    EXPECT_EQ(text("convertLine"), QString::fromUtf8("32.0 °F → 0.0 °C   ·   32.0 °C → 89.6 °F"));
    panel->setProperty("extras", false);
    EXPECT_EQ(calc->display(), "42");

    for (const char *c : {"÷", "0", "="})
        tap(QString::fromUtf8(c));
    ASSERT_TRUE(calc->error());
    const QObject *readout = find("readout");
    EXPECT_EQ(readout->property("color").value<QColor>().rgb(), Palette::coralColor.rgb());
    // The header's delete clears the error like the engine's backspace.
    QObject *del = nullptr;
    for (QQuickItem *b : itemsOfType(panel, "IslandIconButton"))
        if (b->property("systemName").toString() == "delete.backward")
            del = b;
    ASSERT_TRUE(del);
    QMetaObject::invokeMethod(del, "clicked");
    EXPECT_FALSE(calc->error());
    EXPECT_EQ(readout->property("color").value<QColor>().rgb(), Palette::textPrimaryColor.rgb());
}

TEST(PocketPanelRulesTest, SubtitleDetailAndDragData)
{
    EXPECT_EQ(PocketPanel::subtitle(0), "Drop files here, drag them out later");
    EXPECT_EQ(PocketPanel::subtitle(1), "1 held");
    EXPECT_EQ(PocketPanel::subtitle(12), "12 held");
    const QLocale c = QLocale::c();
    EXPECT_EQ(PocketPanel::detail(true, 123456, false, c), "Folder  ·  drag out");
    EXPECT_EQ(PocketPanel::detail(false, 1536, false, c), "1.5 kB  ·  drag out");
    EXPECT_EQ(PocketPanel::detail(false, 420, false, c), "420 bytes  ·  drag out");
    EXPECT_EQ(PocketPanel::detail(false, 420, true, c), "File gone from disk");
    // A name with spaces and a hash still arrives as the one file.
    QTemporaryDir dir;
    const QString path = dir.filePath("Report #2.pdf");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    const QVariantMap data = PocketPanel::dragData(path);
    const QStringList lines = data.value("text/uri-list").toString().split("\r\n", Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 1);
    EXPECT_EQ(QUrl(lines.first()).toLocalFile(), path);
    // A file gone from disk is not offered.
    ASSERT_TRUE(QFile::remove(path));
    EXPECT_TRUE(PocketPanel::dragData(path).isEmpty());
}

// Rows come and go with the store; the clipboard button and a drag over the
// island act only while the pocket is shown.
TEST_F(ToolPanelsTest, PocketRowsClipboardAndDropTarget)
{
    PocketStore *pocket = model->pocket();
    QList<QUrl> files;
    for (const char *name : {"a.txt", "b.txt"}) {
        QFile f(tempPath(QString::fromLatin1(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("x");
        files << QUrl::fromLocalFile(f.fileName());
    }
    model->openPocket();
    QQuickItem *panel = open("tools/PocketPanel.qml", {400, 352});
    ASSERT_TRUE(panel);
    EXPECT_TRUE(shown("emptyCard"));
    EXPECT_FALSE(shown("clear"));

    pocket->ingest(files);
    EXPECT_EQ(text("subtitle"), "2 held");
    EXPECT_TRUE(shown("clear"));
    QObject *list = find("pocketList");
    ASSERT_TRUE(list);
    list->setProperty("currentIndex", 1);
    QQuickItem *second = list->property("currentItem").value<QQuickItem *>();
    ASSERT_TRUE(second);
    const QString removed = second->property("name").toString();
    QMetaObject::invokeMethod(second, "remove");
    ASSERT_EQ(pocket->items().size(), 1);
    EXPECT_NE(pocket->items().first().name, removed);
    pocket->clear();
    EXPECT_TRUE(shown("emptyCard"));

    // "Clipboard" with the pocket hidden does nothing; shown, it holds.
    fakes->clipboard.setText("hello");
    model->collapse();
    hide(HomeModule::pocket);
    model->holdClipboardInPocket();
    EXPECT_TRUE(pocket->items().isEmpty());
    EXPECT_EQ(model->state(), NotchState::collapsed);
    show(HomeModule::pocket);
    model->holdClipboardInPocket();
    EXPECT_EQ(pocket->items().size(), 1);
    EXPECT_EQ(model->state(), NotchState::pocket);

    struct Case { bool shown, entered, targeted; NotchState state; };
    const Case cases[] = {
        {false, true, false, NotchState::collapsed},
        {true, true, true, NotchState::pocket},
        {true, false, false, NotchState::pocket},
    };
    for (const Case &c : cases) {
        model->collapse();
        fakes->settings.setModule(HomeModule::pocket, c.shown);
        if (!c.entered)
            model->pocketDragTargeted(true);
        model->pocketDragTargeted(c.entered);
        EXPECT_EQ(model->fileDropTargeted(), c.targeted) << c.shown << c.entered;
        EXPECT_EQ(model->state(), c.state) << c.shown << c.entered;
    }
}

// A long name is cut at its end and keeps clear of the remove cross; the
// empty card's outline fades in with a drag over the island.
TEST_F(ToolPanelsTest, PocketRowNameAndDropOutline)
{
    model->openPocket();
    QQuickItem *panel = open("tools/PocketPanel.qml", {400, 352});
    ASSERT_TRUE(panel);
    QObject *outline = find("dropOutline");
    ASSERT_TRUE(outline);
    EXPECT_EQ(outline->property("opacity").toDouble(), 0.0);
    model->setFileDropTargeted(true);
    EXPECT_LT(outline->property("opacity").toDouble(), 0.5) << "the outline springs in, it does not jump";
    EXPECT_TRUE(waitUntil([&] { return outline->property("opacity").toDouble() > 0.99; }));
    model->setFileDropTargeted(false);
    EXPECT_GT(outline->property("opacity").toDouble(), 0.5);
    EXPECT_TRUE(waitUntil([&] { return outline->property("opacity").toDouble() < 0.01; }));

    QQuickItem *row = holdFile("A quarterly report with a very long name that cannot fit in one row.pdf");
    ASSERT_TRUE(row);
    auto *name = row->findChild<QQuickItem *>("name");
    auto *texts = row->findChild<QQuickItem *>("texts");
    auto *cross = row->findChild<QQuickItem *>("remove");
    ASSERT_TRUE(name && texts && cross);
    EXPECT_TRUE(name->property("truncated").toBool());
    EXPECT_EQ(name->property("elide").toInt(), int(Qt::ElideRight));
    const qreal textsEnd = texts->mapToItem(row, QPointF(texts->width(), 0)).x();
    EXPECT_GE(cross->mapToItem(row, QPointF(0, 0)).x() - textsEnd, 24);
}

// A held copy deleted on disk: its row says so and a drag of it carries
// nothing.
TEST_F(ToolPanelsTest, PocketRowOfACopyGoneFromDisk)
{
    model->openPocket();
    ASSERT_TRUE(open("tools/PocketPanel.qml", {400, 352}));
    QQuickItem *row = holdFile("notes.txt");
    ASSERT_TRUE(row);
    auto *detail = row->findChild<QQuickItem *>("detail");
    ASSERT_TRUE(detail);
    QQmlExpression dragData(qmlContext(row), row, "Drag.mimeData");
    EXPECT_FALSE(dragData.evaluate().toMap().isEmpty());

    ASSERT_TRUE(QFile::remove(row->property("path").toString()));
    EXPECT_TRUE(waitUntil([&] { return detail->property("text").toString() == "File gone from disk"; }));
    EXPECT_TRUE(dragData.evaluate().toMap().isEmpty());
    EXPECT_EQ(detail->property("color").value<QColor>().rgb(), Palette::coralColor.rgb());
}

TEST(TranslatorPanelRulesTest, StatusLineClearAndButtonTitle)
{
    struct Case { bool busy; const char *status, *output, *line; };
    const Case cases[] = {
        {true, "Copied", "Hola", "Translating…"},
        {false, "Copied", "Hola", "Copied"},
        {false, "Pasted", "", "Pasted"},
        {false, "Couldn't reach Translate", "", "Couldn't reach Translate"},
        {false, "Type something to translate", "", "Type something to translate"},
        {false, "Clipboard is empty", "Hola", "Clipboard is empty"},
        {false, "Google Translate", "", "Type, then translate"},
        {false, "Google Translate", "Hola", "English → Spanish"},
        {false, "Copied!", "Hola", "English → Spanish"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(TranslatorPanel::statusLine(c.busy, QString::fromUtf8(c.status), QString::fromUtf8(c.output),
                                              QStringLiteral("English → Spanish")),
                  QString::fromUtf8(c.line))
            << c.status;
    EXPECT_FALSE(TranslatorPanel::showsClear("", ""));
    EXPECT_TRUE(TranslatorPanel::showsClear(" ", ""));
    EXPECT_TRUE(TranslatorPanel::showsClear("", "Hola"));
    EXPECT_EQ(TranslatorPanel::translateTitle(true), "…");
    EXPECT_EQ(TranslatorPanel::translateTitle(false), "Translate");
}

// Labels follow the engine's languages and swap; paste, copy and clear go
// through the clipboard and the engine.
TEST_F(ToolPanelsTest, TranslatorLabelsSwapPasteCopyAndClear)
{
    show(HomeModule::translator);
    model->openTranslator();
    ASSERT_TRUE(open("tools/TranslatorPanel.qml", {400, 404}));
    TranslatorEngine *engine = model->translator();
    EXPECT_EQ(text("status"), "Type, then translate");
    EXPECT_FALSE(shown("clear"));
    EXPECT_EQ(text("sourceLabel"), "Detect");
    EXPECT_EQ(text("targetLabel"), "Spanish");
    EXPECT_EQ(text("translateButton"), "Translate");

    // The source menu offers "Detect" and every language; choosing sets it.
    QObject *source = find("sourceLabel");
    QMetaObject::invokeMethod(source, "clicked");
    QList<QObject *> entries;
    QList<QObject *> all = view->findChildren<QObject *>() + window->findChildren<QObject *>();
    for (QObject *o : all)
        if (o->inherits("QQuickMenuItem") && !entries.contains(o))
            entries << o;
    ASSERT_EQ(entries.size(), 1 + 11);
    for (QObject *entry : entries)
        if (entry->property("text").toString() == "French")
            QMetaObject::invokeMethod(entry, "triggered");
    EXPECT_EQ(engine->source(), "fr");
    QObject *swap = nullptr;
    for (QQuickItem *b : items("IslandIconButton"))
        if (b->property("systemName").toString() == "arrow.left.arrow.right")
            swap = b;
    ASSERT_TRUE(swap);
    QMetaObject::invokeMethod(swap, "clicked");
    EXPECT_EQ(text("sourceLabel"), "Spanish");
    EXPECT_EQ(text("targetLabel"), "French");

    fakes->clipboard.setText("Bonjour");
    engine->pasteFromClipboard();
    EXPECT_EQ(find("input")->property("text").toString(), "Bonjour");
    EXPECT_EQ(text("status"), "Pasted");
    EXPECT_TRUE(shown("clear"));
    // Typing into the box reaches the engine.
    find("input")->setProperty("text", "Salut");
    EXPECT_EQ(engine->input(), "Salut");
    engine->clear();
    EXPECT_FALSE(shown("clear"));
    EXPECT_FALSE(shown("copy"));
}
