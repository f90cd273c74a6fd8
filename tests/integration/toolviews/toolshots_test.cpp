#include "islandwindowshots.h"

#include "tools/calculatorengine.h"
#include "core/keycodes.h"
#include "tools/pocketstore.h"
#include "tools/translatorengine.h"
#include "update/updateservice.h"

#include <QDragEnterEvent>
#include <QFile>
#include <QMimeData>

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
    void type(const QString &keys)
    {
        for (QChar c : keys)
            EXPECT_TRUE(controller->handleKeyDown(typed(QString(c)))) << QString(c).toStdString();
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
                        IslandPalette::amberColor));

    // The unit card in place of the readout and the pad.
    QQuickItem *panel = findByType(controller->panel()->contentItem(), "CalculatorPanel");
    ASSERT_TRUE(panel);
    panel->setProperty("extras", true);
    const QImage units = shoot(QStringLiteral("calculator-units"));
    EXPECT_FALSE(anyNear(units, QRect(units.width() - 60, units.height() / 2, 40, units.height() / 2 - 20),
                         IslandPalette::amberColor));
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
    EXPECT_TRUE(anyNear(image, QRect(30, 0, 50, 70), IslandPalette::redColor));

    bool saved = false;
    fakes->credentials.save(QStringLiteral("https://school.example"), QStringLiteral("token"), [&](bool) { saved = true; });
    ASSERT_TRUE(waitUntil([&] { return saved; }));
    model->setCanvasUserName(QStringLiteral("Ada Lovelace"));
    shoot(QStringLiteral("canvas-caught-up"));

    model->setCanvasBoard({{work("Essay draft", "History", -20, 10), work("Lab report", "Chemistry", -3, 25)},
                           {work("Reading quiz", "Biology", 5, 12.5, true)},
                           {work("Problem set 4", "Calculus", 30, 20), work("Discussion", "History", 52, {}),
                            work("Final project", "Design", 120, 100)}});
    image = shoot(QStringLiteral("canvas-sections"));
    // The three section colours.
    EXPECT_TRUE(anyNear(image, QRect(0, 60, 60, image.height() - 60), IslandPalette::coralColor));
    EXPECT_TRUE(anyNear(image, QRect(0, 60, 60, image.height() - 60), IslandPalette::amberColor));
    EXPECT_TRUE(anyNear(image, QRect(0, 60, 60, image.height() - 60), IslandPalette::mintColor));
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
    EXPECT_TRUE(anyNear(image, QRect(0, image.height() / 2, 30, image.height() / 2), IslandPalette::coralColor));

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
    EXPECT_FALSE(anyNear(image, QRect(0, image.height() - 40, 20, 30), IslandPalette::coralColor));
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
    EXPECT_TRUE(anyNear(image, QRect(0, 0, image.width(), 80), IslandPalette::skyColor));
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
                        IslandPalette::yellowColor));

    updater.downloadOrOpen();
    ASSERT_TRUE(waitUntil([&] { return updater.status().kind == UpdateStatus::Kind::downloading
                                       && updater.status().fraction > 0; }));
    shot = shoot(QStringLiteral("update-downloading"));
    EXPECT_TRUE(anyNear(shot, QRect(0, 0, shot.width(), shot.height()), IslandPalette::yellowColor));
}
