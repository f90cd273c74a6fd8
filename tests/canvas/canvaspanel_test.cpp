#include "canvas/canvasviews.h"
#include "support/panelviewtest.h"

namespace {
CanvasAssignment item(const QString &title, std::optional<double> points = std::nullopt,
                      std::optional<QString> course = std::nullopt, bool quiz = false, const QString &url = {})
{
    CanvasAssignment a;
    a.id = QStringLiteral("canvas-") + title;
    a.title = title;
    a.points = points;
    a.course = std::move(course);
    a.isQuiz = quiz;
    if (!url.isEmpty())
        a.url = QUrl(url);
    return a;
}
} // namespace

TEST(CanvasPanelTextTest, SummaryLinesAndSectionFigures)
{
    struct Case {
        const char *name;
        CanvasBoard board;
        QString summary;
        QStringList sections; // "title|accent|detail"
    };
    const Case cases[] = {
        {"empty", {}, "You're clear", {}},
        {"only upcoming", {{}, {}, {item("a"), item("b"), item("c")}}, "You're clear", {"Coming up|mint|3"}},
        {"two overdue with points", {{item("a", 10), item("b", 5)}, {}, {}}, "2 waiting",
         {"Needs you|coral|15 pts"}},
        {"today rounds to 0", {{}, {item("a", 0.4)}, {}}, "1 today", {"Due today|amber|"}},
        {"today rounds to 1", {{}, {item("a", 0.6)}, {}}, "1 today\n1 pts", {"Due today|amber|1 pts"}},
        {"all three", {{item("a")}, {item("b", 20), item("c", 5)}, {item("d")}}, "1 waiting\n2 today\n25 pts",
         {"Needs you|coral|", "Due today|amber|25 pts", "Coming up|mint|1"}},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(CanvasPanelText::summary(c.board), c.summary) << c.name;
        QStringList sections;
        for (const auto &s : CanvasPanelText::sections(c.board))
            sections << s.title + u'|' + s.accent + u'|' + s.detail.value_or(QString());
        EXPECT_EQ(sections, c.sections) << c.name;
    }
}

TEST(CanvasPanelTextTest, EmptyStateAndSubtitles)
{
    EXPECT_EQ(CanvasPanelText::emptyTitle(false, "Ada"), "Connect Canvas in Settings");
    EXPECT_EQ(CanvasPanelText::emptyDetail(false), "Then your due work, points, and upcoming assignments land here.");
    EXPECT_EQ(CanvasPanelText::emptyTitle(true, ""), "You're all caught up");
    EXPECT_EQ(CanvasPanelText::emptyTitle(true, "Ada"), "You're all caught up, Ada");
    EXPECT_EQ(CanvasPanelText::emptyTitle(true, "Ada", true), "Loading your Canvas\u2026");
    EXPECT_EQ(CanvasPanelText::emptyTitle(false, "", true, true), "Waiting for the keyring");
    EXPECT_EQ(CanvasPanelText::summary({}, {}, true), "") << "nothing is known while loading";
    EXPECT_EQ(CanvasPanelText::emptyDetail(true), "Nothing due and nothing overdue. Enjoy the quiet.");

    const QString due = QStringLiteral("Today · 3:30 PM");
    EXPECT_EQ(CanvasPanelText::subtitle(item("a", {}, "History", true), due), "History  ·  Quiz  ·  Today · 3:30 PM");
    EXPECT_EQ(CanvasPanelText::subtitle(item("a", {}, {}, true), due), "Quiz  ·  Today · 3:30 PM");
    EXPECT_EQ(CanvasPanelText::subtitle(item("a", {}, "History"), due), "History  ·  Today · 3:30 PM");
    EXPECT_EQ(CanvasPanelText::subtitle(item("a"), due), due);
}

class CanvasPanelTest : public PanelViewTest {};

// The empty state follows the stored credentials and the user's first name;
// a row opens only a web page, never a bare path.
TEST_F(CanvasPanelTest, EmptyStatesAndOpeningRows)
{
    ASSERT_TRUE(open("canvas/CanvasPanel.qml", {400, 462}));
    EXPECT_TRUE(shown("emptyState"));
    EXPECT_EQ(text("summary"), "You're clear");
    EXPECT_TRUE(allText().contains("Connect Canvas in Settings"));

    bool saved = false;
    fakes->credentials.save("https://school.example", "token", [&](CanvasCredentialStore::Saved) { saved = true; });
    ASSERT_TRUE(waitUntil([&] { return saved; }));
    model->setCanvasUserName(QStringLiteral("Ada  Lovelace"));
    EXPECT_TRUE(allText().contains("Loading your Canvas\u2026")) << "no board has come yet";
    EXPECT_EQ(text("summary"), "") << "nothing is known to be clear";

    model->setCanvasBoard({{item("Essay", 10, "History", false, "https://school.example/a/1"),
                            item("Sneaky", {}, {}, false, "/etc/passwd"),
                            item("Odd", {}, {}, false, "file:///etc/passwd")},
                           {},
                           {}});
    EXPECT_FALSE(shown("emptyState"));
    EXPECT_EQ(text("summary"), "3 waiting");
    for (QQuickItem *section : items("AssignmentSection"))
        for (const CanvasAssignment &row : section->property("section").value<CanvasSection>().items)
            QMetaObject::invokeMethod(section, "opened", Q_ARG(CanvasAssignment, row));
    EXPECT_EQ(fakes->launcher.urls, QList<QUrl>{QUrl("https://school.example/a/1")});
}

// A row stands on its title's first baseline: the bar ends on it and the
// points sit on it, with or without points.
TEST_F(CanvasPanelTest, RowsStandOnTheTitlesBaseline)
{
    ASSERT_TRUE(open("canvas/CanvasPanel.qml", {400, 462}));
    model->setCanvasBoard({{item("Essay", 10, "History")}, {}, {item("Reading", {}, "Biology")}});
    QList<QQuickItem *> titles;
    for (QQuickItem *text : items("QQuickText"))
        if (text->objectName() == "rowTitle")
            titles << text;
    ASSERT_EQ(titles.size(), 2);
    for (QQuickItem *title : titles) {
        QQuickItem *row = title->parentItem()->parentItem();
        QQuickItem *bar = nullptr, *points = nullptr;
        for (QQuickItem *child : row->childItems()) {
            if (child->objectName() == "bar")
                bar = child;
            if (child->objectName() == "points")
                points = child;
        }
        ASSERT_TRUE(bar && points);
        const qreal baseline = title->mapToItem(row, QPointF(0, title->baselineOffset())).y();
        EXPECT_NEAR(bar->mapToItem(row, QPointF(0, bar->height())).y(), baseline, 0.5);
        EXPECT_GE(bar->mapToItem(row, QPointF(0, 0)).y(), -0.5) << "the bar stays inside its row";
        if (points->isVisible()) {
            EXPECT_NEAR(points->mapToItem(row, QPointF(0, points->baselineOffset())).y(), baseline, 0.5);
        }
        EXPECT_GE(row->height(), title->mapToItem(row, QPointF(0, title->height())).y());
    }
}
