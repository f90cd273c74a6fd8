#include "islandwindowshots.h"
#include "xtestpointer.h"

#include "tools/calculatorengine.h"
#include "core/keycodes.h"
#include "tools/pocketstore.h"
#include "tools/translatorengine.h"
#include "style/palette.h"
#include "update/updateservice.h"

#include <QDrag>
#include <QDragEnterEvent>
#include <QFile>
#include <QMimeData>
#include <QScreen>
#include <QTest>
#include <QTimer>

namespace {
KeyInput typed(const QString &text)
{
    KeyInput k;
    k.text = text;
    return k;
}
} // namespace

class ToolShots : public IslandWindowShots {
protected:
    // The school's Canvas on a test server: a board of two items, or 500 on
    // every request.
    struct SchoolCanvas {
        LocalHttpServer &server;
        void answer()
        {
            server.setReply(QStringLiteral("/api/v1/users/self"), LocalHttpServer::json(R"({"name":"Ada Lovelace"})"));
            server.setReply(QStringLiteral("/api/v1/users/self/missing_submissions"),
                            LocalHttpServer::json(R"([{"id":1,"name":"Essay draft","course_code":"History"}])"));
            server.setReply(QStringLiteral("/api/v1/planner/items"),
                            LocalHttpServer::json(R"([{"plannable_id":2,"plannable_type":"assignment",
                                "context_name":"Calculus","plannable":{"title":"Problem set 4",
                                "due_at":"2030-01-01T12:00:00Z","points_possible":20}}])"));
        }
        void fail()
        {
            for (const char *path : {"/api/v1/users/self", "/api/v1/users/self/missing_submissions",
                                     "/api/v1/planner/items"})
                server.setReply(QString::fromLatin1(path), LocalHttpServer::json("{}", 500));
        }
    };
    void refreshCanvas()
    {
        bool done = false;
        model->refreshCanvas([&] { done = true; });
        ASSERT_TRUE(waitUntil([&] { return done; }, 10000));
    }
    void type(const QString &keys)
    {
        for (QChar c : keys)
            EXPECT_TRUE(controller->handleKeyDown(typed(QString(c)))) << QString(c).toStdString();
    }
    // Key presses as the window gets them from the window system.
    void typeOnWindow(const QString &keys)
    {
        for (QChar c : keys)
            QTest::keyClick(controller->panel(), c.toLatin1());
    }
    // A press and release of the left button on the item's centre.
    void click(QQuickItem *item)
    {
        const QPointF at = item->mapToScene(QPointF(item->width() / 2, item->height() / 2));
        pointer.at = controller->panel()->mapToGlobal(at.toPoint());
        QTest::mouseClick(controller->panel(), Qt::LeftButton, Qt::NoModifier, at.toPoint());
    }
    // The shown item of that name, searched through the item tree.
    static QQuickItem *named(QQuickItem *root, const QString &name)
    {
        for (QQuickItem *child : root->childItems()) {
            if (child->objectName() == name && child->isVisible())
                return child;
            if (QQuickItem *found = named(child, name))
                return found;
        }
        return nullptr;
    }
    QQuickItem *named(const char *name) const
    {
        return named(controller->panel()->contentItem(), QString::fromLatin1(name));
    }
};

TEST_F(ToolShots, CalculatorWithAFraction)
{
    model->openCalculator();
    // 1 ÷ 3 + 1, typed through the window's keys: a mixed fraction.
    type(QStringLiteral("1/3=+1="));
    ASSERT_TRUE(model->calculator()->showAsFraction()) << model->calculator()->display().toStdString() << " " << int(model->state());
    const QImage image = shoot(QStringLiteral("calculator-fraction"));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.width(), 348);
    // The amber operator keys down the right-hand side.
    EXPECT_TRUE(anyNear(image, QRect(image.width() - 60, image.height() / 2, 40, image.height() / 2 - 20),
                        Palette::amberColor));

    // The unit card in place of the readout and the pad.
    QQuickItem *panel = findByType(controller->panel()->contentItem(), "CalculatorPanel");
    ASSERT_TRUE(panel);
    panel->setProperty("extras", true);
    const QImage units = shoot(QStringLiteral("calculator-units"));
    EXPECT_FALSE(anyNear(units, QRect(units.width() - 60, units.height() / 2, 40, units.height() / 2 - 20),
                         Palette::amberColor));
}

namespace {
CanvasAssignment work(const QString &title, const QString &course, qint64 dueInHours, std::optional<double> points,
                      bool quiz = false)
{
    CanvasAssignment a;
    a.id = QStringLiteral("canvas-") + title;
    a.title = title;
    a.course = course;
    a.dueAt = QDateTime::fromMSecsSinceEpoch(FakeClock::DefaultStart).addSecs(dueInHours * 3600);
    a.points = points;
    a.isQuiz = quiz;
    a.overdue = dueInHours < 0;
    a.url = QUrl(QStringLiteral("https://school.example/a/") + title);
    return a;
}
} // namespace

TEST_F(ToolShots, PlannerSignedOutEmptyAndFull)
{
    model->setState(NotchState::canvas);
    QImage image = shoot(QStringLiteral("canvas-signed-out"));
    EXPECT_EQ(image.width(), 400);
    // The mark's red ring at the header's leading side.
    EXPECT_TRUE(anyNear(image, QRect(30, 0, 50, 70), Palette::redColor));

    bool saved = false;
    fakes->credentials.save(QStringLiteral("https://school.example"), QStringLiteral("token"), [&](CanvasCredentialStore::Saved) { saved = true; });
    ASSERT_TRUE(waitUntil([&] { return saved; }));
    model->setCanvasUserName(QStringLiteral("Ada Lovelace"));
    shoot(QStringLiteral("canvas-caught-up"));

    model->setCanvasBoard({{work("Essay draft", "History", -20, 10), work("Lab report", "Chemistry", -3, 25)},
                           {work("Reading quiz", "Biology", 5, 12.5, true)},
                           {work("Problem set 4", "Calculus", 30, 20), work("Discussion", "History", 52, {}),
                            work("Final project", "Design", 120, 100)}});
    image = shoot(QStringLiteral("canvas-sections"));
    // The three section colours.
    EXPECT_TRUE(anyNear(image, QRect(0, 60, 60, image.height() - 60), Palette::coralColor));
    EXPECT_TRUE(anyNear(image, QRect(0, 60, 60, image.height() - 60), Palette::amberColor));
    EXPECT_TRUE(anyNear(image, QRect(0, 60, 60, image.height() - 60), Palette::mintColor));
}

// The planner against a school's server that answers 500: started so, it
// says Canvas could not be loaded rather than that nothing is due; later the
// board it loaded stays, under the same words and when it was loaded.
TEST_F(ToolShots, PlannerAfterAServerError)
{
    SchoolCanvas canvas{updateServer};
    fakes->credentials.save(updateServer.baseUrl().toString(), QStringLiteral("token"));
    model->setState(NotchState::canvas);
    canvas.fail();
    refreshCanvas();
    QImage image = shoot(QStringLiteral("canvas-unloaded"));
    ASSERT_TRUE(named("canvasProblem"));
    EXPECT_EQ(named("canvasProblem")->property("text").toString(), QStringLiteral("Couldn't load Canvas"));
    EXPECT_FALSE(named("emptyState")) << "nothing due is said of a board that did not come";

    canvas.answer();
    refreshCanvas();
    ASSERT_FALSE(model->canvasBoard().isEmpty());
    canvas.fail();
    refreshCanvas();
    image = shoot(QStringLiteral("canvas-after-500"));
    ASSERT_TRUE(named("canvasProblem"));
    EXPECT_TRUE(named("canvasProblem")->property("text").toString().startsWith(
        QStringLiteral("Couldn't load Canvas \u00B7 last loaded ")));
    EXPECT_TRUE(named("rowTitle")) << "the board loaded before stays";
    // The line under the header, in the failure colour (the section dots
    // and bars stand further left and lower).
    EXPECT_TRUE(anyNear(image, QRect(60, 58, 140, 20), Palette::coralColor));
}

// Files dragged onto the island's window open the pocket, and once dropped
// they are listed there.
TEST_F(ToolShots, PocketEmptyTargetedAndWithFiles)
{
    QDir(tempPath("src")).mkpath("Photos");
    QList<QUrl> urls;
    for (const auto &[name, size] : {std::pair{"Quarterly report.pdf", 1536}, std::pair{"notes.txt", 420}}) {
        QFile f(tempPath(QStringLiteral("src/") + QString::fromUtf8(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(size, 'x'));
        urls << QUrl::fromLocalFile(f.fileName());
    }
    urls << QUrl::fromLocalFile(tempPath("src/Photos"));

    NotchPanel *window = controller->panel();
    QMimeData mime;
    mime.setUrls(urls);
    const QPoint inside = window->islandRect().center().toPoint();
    QDragEnterEvent enter(inside, Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window, &enter);
    ASSERT_EQ(model->state(), NotchState::pocket);
    EXPECT_TRUE(model->fileDropTargeted());
    QImage image = shoot(QStringLiteral("pocket-targeted"));
    EXPECT_EQ(image.width(), 400);
    // The empty card's coral outline.
    EXPECT_TRUE(anyNear(image, QRect(0, image.height() / 2, 30, image.height() / 2), Palette::coralColor));

    const QPoint onPanel = window->islandRect().center().toPoint();
    QDragMoveEvent move(onPanel, Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window, &move);
    // Shift: the source proposes a move.
    QDropEvent drop(onPanel, Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton, Qt::ShiftModifier);
    ASSERT_EQ(drop.proposedAction(), Qt::MoveAction);
    QCoreApplication::sendEvent(window, &drop);
    EXPECT_TRUE(drop.isAccepted());
    // A file manager offering to move must not lose its files: the drop
    // takes copies.
    EXPECT_EQ(drop.dropAction(), Qt::CopyAction);
    ASSERT_TRUE(waitUntil([&] { return model->pocket()->items().size() == 3; }));
    EXPECT_FALSE(model->fileDropTargeted());
    image = shoot(QStringLiteral("pocket-files"));
    // The rows replace the card: no coral outline at the bottom any more.
    EXPECT_FALSE(anyNear(image, QRect(0, image.height() - 40, 20, 30), Palette::coralColor));
}

TEST_F(ToolShots, TranslatorWithATranslation)
{
    server.setReply("/translate_a/single",
                    LocalHttpServer::json(R"([[["¿Dónde está la estación de tren?",null]],null,"en"])"));
    show(HomeModule::translator);
    model->openTranslator();
    ASSERT_EQ(model->state(), NotchState::translator);
    TranslatorEngine *engine = model->translator();
    engine->setInput(QStringLiteral("Where is the train station?"));
    engine->translate();
    ASSERT_TRUE(waitUntil([&] { return !engine->busy(); }));
    const QImage image = shoot(QStringLiteral("translator-translation"));
    EXPECT_EQ(image.width(), 400);
    // The sky accent of the header and the Translate button.
    EXPECT_TRUE(anyNear(image, QRect(0, 0, image.width(), 80), Palette::skyColor));
}

TEST_F(ToolShots, UpdateAvailableAndDownloading)
{
    const QByteArray manifest = R"({"version":"1.2.0","build":7,"url":")"
        + updateServer.url("/Pavlet.dmg").toString().toUtf8() + R"(","sha256":")" + QByteArray(64, 'a')
        + R"(","notes":"A steadier island, the tool panels and the Canvas planner."})";
    updateServer.setReply("/update.json", LocalHttpServer::json(manifest));
    // Half the image arrives a moment later, then the transfer stays open.
    LocalHttpServer::Reply image = LocalHttpServer::json(QByteArray(32768, 'x'));
    image.contentType = "application/octet-stream";
    image.delayMs = 100;
    image.cutAfter = 16384;
    image.holdOpen = true;
    updateServer.setReply("/Pavlet.dmg", image);

    UpdateService &updater = fakes->updater;
    updater.check(true);
    ASSERT_TRUE(waitUntil([&] { return updater.wantsPrompt(); }));
    model->updatePromptChanged();
    ASSERT_EQ(model->state(), NotchState::update);
    QImage shot = shoot(QStringLiteral("update-available"));
    EXPECT_EQ(shot.width(), 400);
    // The yellow main button.
    EXPECT_TRUE(anyNear(shot, QRect(0, shot.height() / 2, shot.width() / 2, shot.height() / 2),
                        Palette::yellowColor));

    updater.downloadOrOpen();
    ASSERT_TRUE(waitUntil([&] { return updater.status().kind == UpdateStatus::Kind::downloading
                                       && updater.status().fraction > 0; }));
    shot = shoot(QStringLiteral("update-downloading"));
    EXPECT_TRUE(anyNear(shot, QRect(0, 0, shot.width(), shot.height()), Palette::yellowColor));
}

// A result whose whole part has sixteen digits: the stacked parts shrink,
// then the whole part shrinks with all its digits shown, and nothing is
// drawn past the readout's edges.
TEST_F(ToolShots, CalculatorLongFractionFitsTheReadout)
{
    model->openCalculator();
    // 8999999999991000000 / 997, typed in pieces of at most twelve digits.
    type(QStringLiteral("999999999999*9*1000000/997="));
    CalculatorEngine *calc = model->calculator();
    ASSERT_TRUE(calc->readout().isFraction()) << calc->display().toStdString();
    ASSERT_EQ(calc->readout().wholeText().toStdString(), "9027081243722166");
    const QImage image = shoot(QStringLiteral("calculator-long-fraction"));
    ASSERT_FALSE(image.isNull());

    ASSERT_TRUE(waitUntil([&] { return named("readout") && named("whole") && named("numerator"); }));
    QQuickItem *readout = named("readout");
    QQuickItem *whole = named("whole");
    QQuickItem *numerator = named("numerator");
    const QRectF room = readout->mapRectToScene(QRectF(0, 0, readout->width(), readout->height()));
    for (QQuickItem *part : {whole, numerator, named("denominator")}) {
        const QRectF drawn = part->mapRectToScene(QRectF(0, 0, part->width(), part->height()));
        EXPECT_GE(drawn.left(), room.left() - 0.5) << part->objectName().toStdString();
        EXPECT_LE(drawn.right(), room.right() + 0.5) << part->objectName().toStdString();
    }
    EXPECT_EQ(whole->property("text").toString(), "9027081243722166");
    EXPECT_FALSE(whole->property("truncated").toBool()) << "no digit of the whole part is hidden";
    const int wholeSize = whole->property("font").value<QFont>().pixelSize();
    EXPECT_LT(wholeSize, 32);
    EXPECT_GE(wholeSize, 13) << "no smaller than a plain number shrinks";
    EXPECT_EQ(numerator->property("font").value<QFont>().pixelSize(), 8) << "the parts shrink to half first";

    // A short fraction keeps its full sizes.
    calc->press(CalcKey::of(CalcKey::Kind::ac));
    type(QStringLiteral("1/3=+1="));
    Patience::until([&] { return whole->property("font").value<QFont>().pixelSize() == 32; }, 2000);
    EXPECT_FALSE(whole->property("truncated").toBool());
    EXPECT_EQ(whole->property("font").value<QFont>().pixelSize(), 32);
    EXPECT_EQ(numerator->property("font").value<QFont>().pixelSize(), 16);
}

// While the unit card's field has the keyboard, typed keys edit the field
// and leave the calculator alone.
TEST_F(ToolShots, TypingIntoTheUnitCardsValue)
{
    model->openCalculator();
    CalculatorEngine *calc = model->calculator();
    typeOnWindow(QStringLiteral("7"));
    ASSERT_EQ(calc->display(), "7") << "the pad takes keys while no field has the keyboard";
    panelsCompiled();
    QQuickItem *panel = findByType(controller->panel()->contentItem(), "CalculatorPanel");
    ASSERT_TRUE(panel);
    panel->setProperty("extras", true);
    ASSERT_TRUE(waitUntil([&] { return named("convertValue") != nullptr; }));
    QQuickItem *value = named("convertValue");
    controller->panel()->requestActivate();
    value->forceActiveFocus();
    ASSERT_TRUE(waitUntil([&] { return value->hasActiveFocus(); }));
    QTest::keyClick(controller->panel(), Qt::Key_A, Qt::ControlModifier);
    typeOnWindow(QStringLiteral("100"));
    EXPECT_EQ(value->property("text").toString(), "100");
    EXPECT_TRUE(named("convertLine")->property("text").toString().startsWith(QStringLiteral("100.0 °F")));
    EXPECT_EQ(calc->display(), "7");

    // Long numbers stay inside the card; one past what the card can show
    // is refused in coral.
    QQuickItem *line = named("convertLine");
    QQuickItem *card = findByType(controller->panel()->contentItem(), "CalcConvertCard");
    ASSERT_TRUE(line && card);
    for (const char *typed : {"-12345678901234.5", "1e308"}) {
        QTest::keyClick(controller->panel(), Qt::Key_A, Qt::ControlModifier);
        typeOnWindow(QString::fromLatin1(typed));
        // The card grows with the line on the next frame.
        auto inside = [&] {
            const QRectF box = card->mapRectToScene(QRectF(0, 0, card->width(), card->height()));
            return box.contains(line->mapRectToScene(QRectF(0, 0, line->property("paintedWidth").toDouble(),
                                                            line->property("paintedHeight").toDouble())));
        };
        EXPECT_TRUE(waitUntil(inside)) << typed;
    }
    EXPECT_EQ(line->property("text").toString(), "Too large to convert");
    EXPECT_EQ(line->property("color").value<QColor>().rgb(), Palette::coralColor.rgb());
}

// "Paste" leaves the cursor after the pasted text, and the field's text
// starts where its label does.
TEST_F(ToolShots, TranslatorPasteThenType)
{
    show(HomeModule::translator);
    model->openTranslator();
    ASSERT_EQ(model->state(), NotchState::translator);
    fakes->clipboard.setText(QStringLiteral("Bonjour le monde"));
    shoot(QStringLiteral("translator-empty"));
    controller->panel()->requestActivate();
    QQuickItem *paste = named("paste");
    ASSERT_TRUE(paste);
    click(paste);
    ASSERT_EQ(model->state(), NotchState::translator);
    QQuickItem *input = named("input");
    ASSERT_TRUE(input);
    ASSERT_TRUE(waitUntil([&] { return input->hasActiveFocus(); }));
    typeOnWindow(QStringLiteral("X"));
    EXPECT_EQ(model->translator()->input(), "Bonjour le mondeX");

    QQuickItem *label = named("inputLabel");
    ASSERT_TRUE(label);
    QRectF caret;
    QMetaObject::invokeMethod(input, "positionToRectangle", Q_RETURN_ARG(QRectF, caret), Q_ARG(int, 0));
    EXPECT_NEAR(input->mapToScene(caret.topLeft()).x(), label->mapToScene(QPointF(0, 0)).x(), 0.5);
}

// A file manager's drag proposes a move. The island answers it as a copy
// when it enters, while it moves and on the drop, so the source, which
// deletes its file after a move, keeps it.
TEST_F(ToolShots, ADragOfferedAsAMoveIsAnsweredAsACopy)
{
    QDir().mkpath(tempPath("src"));
    const QString path = tempPath("src/keep.txt");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("mine");
    f.close();

    XTestPointer hand;
    ASSERT_TRUE(hand.available());
    NotchPanel *window = controller->panel();
    const QPoint target = window->mapToGlobal(window->islandRect().center().toPoint());
    const QRect screen = window->screen()->geometry();
    const QPoint start(screen.left() + 20, screen.bottom() - 20);
    hand.moveTo(start);
    hand.press(true);

    // The pointer walks onto the island, wanders on it and lets go.
    int step = 0;
    QTimer walk;
    walk.setInterval(40);
    QObject::connect(&walk, &QTimer::timeout, [&] {
        ++step;
        if (step <= 10)
            hand.moveTo(start + (target - start) * step / 10);
        else if (step <= 16)
            hand.moveTo(target + QPoint((step - 10) * 3, step % 2 * 2));
        else if (step == 17) {
            hand.press(false);
            walk.stop();
        }
    });

    QObject source;
    auto *drag = new QDrag(&source);
    auto *mime = new QMimeData;
    mime->setUrls({QUrl::fromLocalFile(path)});
    drag->setMimeData(mime);
    QList<Qt::DropAction> answers;
    QObject::connect(drag, &QDrag::actionChanged, [&](Qt::DropAction a) {
        if (a != Qt::IgnoreAction)
            answers << a;
    });
    walk.start();
    const Qt::DropAction done = drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::MoveAction);
    walk.stop();
    if (step < 17)
        hand.press(false);
    // What a source that moves does after a move.
    if (done == Qt::MoveAction)
        QFile::remove(path);

    EXPECT_EQ(done, Qt::CopyAction);
    EXPECT_FALSE(answers.isEmpty()) << "the island answered the drag";
    for (Qt::DropAction a : answers)
        EXPECT_EQ(a, Qt::CopyAction) << "answers " << answers.size() << " state " << int(model->state());
    EXPECT_TRUE(QFile::exists(path));
    ASSERT_TRUE(waitUntil([&] { return model->pocket()->items().size() == 1; }));
    EXPECT_EQ(model->state(), NotchState::pocket);
    EXPECT_FALSE(model->fileDropTargeted());
}
