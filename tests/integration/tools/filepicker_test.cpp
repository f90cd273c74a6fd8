#include "platform/linux/filesandfoldersdialog.h"
#include "platform/linux/helperfilepicker.h"
#include "support/patience.h"
#include "support/pavlettest.h"
#include "support/qtprinters.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QMap>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QScopeGuard>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <cstdio>
#include <signal.h>

namespace {

bool emptyFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly);
}

// A file at path as the file system's bytes, which Qt cannot name when
// they are not UTF-8.
bool rawFile(const QByteArray &path)
{
    std::FILE *f = std::fopen(path.constData(), "wb");
    return f && std::fclose(f) == 0;
}

// The dialog itself, as the helper program shows it.
class FilesAndFoldersDialogTest : public PavletTest {
protected:
    // Opens the dialog, lets act drive it once it shows, and gives what it
    // answered (none when cancelled).
    static std::optional<QList<QUrl>> run(platform::FilesAndFoldersDialog &dialog,
                                          const std::function<void()> &act)
    {
        bool answered = false;
        std::optional<QList<QUrl>> out;
        QObject::connect(&dialog, &QDialog::finished, [&](int result) {
            answered = true;
            if (result == QDialog::Accepted)
                out = dialog.chosen;
        });
        dialog.open();
        QTimer::singleShot(0, &dialog, act);
        Patience::until([&] { return answered; }, 10000);
        return out;
    }
};

// Exactly the selected entries are chosen, a name that is not UTF-8
// among them, as the bytes it is; with none selected, confirming does
// nothing. The confirm button keeps its label whatever is selected.
TEST_F(FilesAndFoldersDialogTest, ChoosesExactlyTheSelectedEntriesWhateverTheirNames)
{
    QDir(tmp.path()).mkpath("pick/Album");
    ASSERT_TRUE(emptyFile(tempPath("pick/notes.txt")));
    const QByteArray odd = QFile::encodeName(tempPath("pick/")) + "caf\xe9.txt";
    ASSERT_TRUE(rawFile(odd));
    const auto unlink = qScopeGuard([&] { std::remove(odd.constData()); });

    platform::FilesAndFoldersDialog dialog("Zip");
    EXPECT_EQ(dialog.folder(), QFile::encodeName(QDir::homePath())) << "the dialog starts at home";
    ASSERT_TRUE(dialog.openFolder(QFile::encodeName(tempPath("pick"))));
    auto *view = dialog.findChild<QTreeView *>("entries");
    ASSERT_TRUE(view);
    bool stayed = false;
    const auto picked = run(dialog, [&] {
        dialog.accept();
        stayed = dialog.isVisible();
        for (const QByteArray &name : {QByteArray("Album"), QByteArray("caf\xe9.txt")}) {
            const int row = dialog.rowOf(name);
            ASSERT_GE(row, 0) << name.toStdString();
            view->selectionModel()->select(view->model()->index(row, 0),
                                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
            EXPECT_EQ(dialog.confirmButton()->text(), "Zip");
        }
        dialog.confirmButton()->click();
    });
    EXPECT_TRUE(stayed) << "confirmed with nothing selected";
    ASSERT_TRUE(picked.has_value());
    EXPECT_EQ(*picked, (QList<QUrl>{QUrl::fromLocalFile(tempPath("pick/Album")),
                                    QUrl::fromEncoded("file://" + odd.toPercentEncoding("/"))}));
}

// A folder's name or path typed into the location field and confirmed with
// Return opens that folder; an existing file typed so is chosen.
TEST_F(FilesAndFoldersDialogTest, ATypedFolderOpensInTheDialogAndATypedFileIsChosen)
{
    QDir(tmp.path()).mkpath("pick/Album");
    QDir(tmp.path()).mkpath("elsewhere");
    ASSERT_TRUE(emptyFile(tempPath("elsewhere/notes.txt")));
    QStringList entered;
    platform::FilesAndFoldersDialog dialog;
    ASSERT_TRUE(dialog.openFolder(QFile::encodeName(tempPath("pick"))));
    auto *name = dialog.findChild<QLineEdit *>("location");
    const auto picked = run(dialog, [&] {
        name->setFocus();
        for (const QString &typed : {QStringLiteral("Album"), tempPath("elsewhere"), tempPath("elsewhere/notes.txt")}) {
            QTest::keyClicks(name, typed);
            QTest::keyClick(name, Qt::Key_Return);
            if (dialog.isVisible())
                entered << QFile::decodeName(dialog.folder());
        }
    });
    EXPECT_EQ(picked, QList<QUrl>{QUrl::fromLocalFile(tempPath("elsewhere/notes.txt"))}) << "a typed file is chosen";
    EXPECT_EQ(entered, (QStringList{tempPath("pick/Album"), tempPath("elsewhere")}));
}

// The island's side: the dialog in the helper program, driven through the X
// server as a user's keyboard drives it.
class HelperFilePickerTest : public PavletTest {
protected:
    void SetUp() override
    {
        PavletTest::SetUp();
        ASSERT_EQ(QGuiApplication::platformName(), QLatin1String("xcb")) << "the dialog is shown on an X server";
        // The dialog keeps its folder and view between runs in the user's
        // config folder: each test's dialog starts from a fresh one.
        m_config = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(tempPath("config")));
    }
    void TearDown() override
    {
        qputenv("XDG_CONFIG_HOME", m_config);
        PavletTest::TearDown();
    }
    static QString xdotool(const QStringList &args)
    {
        QProcess p;
        p.start("xdotool", args);
        p.waitForFinished(10000);
        return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
    }
    // The helper's dialog window once it shows; empty after the time-out.
    static QString dialogWindow(const platform::HelperFilePicker &picker)
    {
        QString window;
        Patience::until([&] {
            if (!picker.helperPid())
                return false;
            window = xdotool({"search", "--onlyvisible", "--pid", QString::number(picker.helperPid())})
                         .split('\n')
                         .value(0);
            return !window.isEmpty();
        }, 10000);
        return window;
    }
    // Keys into the dialog, as typed on a keyboard.
    static void keys(const QString &window, const QStringList &what)
    {
        xdotool({"windowfocus", "--sync", window});
        xdotool(what);
    }
    struct Answer {
        bool answered = false;
        std::optional<QList<QUrl>> picked;
    };
    QByteArray m_config;

    static void pick(platform::HelperFilePicker &picker, Answer &answer)
    {
        picker.pickFilesAndFolders("Zip", [&answer](std::optional<QList<QUrl>> picked) {
            answer.answered = true;
            answer.picked = std::move(picked);
        });
    }
};

TEST_F(HelperFilePickerTest, TheDialogAnswersWhatTheUserTypedOrNothingOnEscape)
{
    QDir(tmp.path()).mkpath("elsewhere");
    ASSERT_TRUE(emptyFile(tempPath("elsewhere/notes.txt")));

    platform::HelperFilePicker picker;
    Answer chosen;
    pick(picker, chosen);
    const QString window = dialogWindow(picker);
    ASSERT_FALSE(window.isEmpty()) << "the dialog never showed";
    EXPECT_FALSE(chosen.answered) << "the call returns while the dialog is up";
    keys(window, {"type", "--delay", "20", tempPath("elsewhere/notes.txt")});
    keys(window, {"key", "Return"});
    ASSERT_TRUE(Patience::until([&] { return chosen.answered; }, 10000)) << "the dialog never answered";
    EXPECT_EQ(chosen.picked, QList<QUrl>{QUrl::fromLocalFile(tempPath("elsewhere/notes.txt"))});
    EXPECT_FALSE(picker.isOpen());

    Answer cancelled;
    pick(picker, cancelled);
    const QString again = dialogWindow(picker);
    ASSERT_FALSE(again.isEmpty());
    keys(again, {"key", "Escape"});
    ASSERT_TRUE(Patience::until([&] { return cancelled.answered; }, 10000));
    EXPECT_EQ(cancelled.picked, std::nullopt);
}

// The dialog must not open under an always-on-top window that asked for it:
// the window manager keeps it over its owner and in the top layer. One
// dialog at a time, and none left behind by an island that goes.
TEST_F(HelperFilePickerTest, TheDialogStandsOverTheIslandAndGoesWithIt)
{
    QWindow island;
    island.setFlags(Qt::FramelessWindowHint | Qt::Tool | Qt::WindowStaysOnTopHint);
    island.setGeometry(600, 0, 300, 200);
    island.show();
    qint64 pid = 0;
    Answer first, second;
    {
        platform::HelperFilePicker picker([&island] { return &island; });
        pick(picker, first);
        const QString window = dialogWindow(picker);
        ASSERT_FALSE(window.isEmpty());
        pid = picker.helperPid();
        QProcess xprop;
        xprop.start("xprop", {"-id", window, "WM_TRANSIENT_FOR", "_NET_WM_STATE"});
        ASSERT_TRUE(xprop.waitForFinished(5000));
        const QString props = QString::fromUtf8(xprop.readAllStandardOutput());
        EXPECT_TRUE(props.contains(QString("window id # 0x%1").arg(island.winId(), 0, 16))) << props.toStdString();
        EXPECT_TRUE(props.contains("_NET_WM_STATE_ABOVE")) << props.toStdString();
        // It opens under the island and inside the screen, also with no
        // window manager to place it.
        QMap<QString, int> at;
        for (const QString &line : xdotool({"getwindowgeometry", "--shell", window}).split('\n'))
            at[line.section('=', 0, 0)] = line.section('=', 1).toInt();
        const QRect placed(at["X"], at["Y"], at["WIDTH"], at["HEIGHT"]);
        EXPECT_TRUE(island.screen()->availableGeometry().contains(placed)) << at["X"] << "," << at["Y"];
        EXPECT_GT(placed.top(), island.geometry().bottom()) << at["Y"];

        pick(picker, second);
        EXPECT_TRUE(second.answered) << "a second request is answered at once";
        EXPECT_EQ(second.picked, std::nullopt);
        EXPECT_TRUE(picker.isOpen()) << "the first dialog stays";
        EXPECT_EQ(picker.helperPid(), pid);
    }
    EXPECT_TRUE(Patience::until([&] { return ::kill(pid_t(pid), 0) != 0; }, 3000)) << "the dialog outlived the island";
    EXPECT_FALSE(first.answered) << "no answer reaches a picker that is gone";
}

TEST_F(HelperFilePickerTest, AMissingHelperOrAnAnswerItCannotReadPicksNothing)
{
    platform::HelperFilePicker missing({}, tempPath("no-such-helper"));
    Answer answer;
    pick(missing, answer);
    ASSERT_TRUE(waitUntil([&] { return answer.answered; }));
    EXPECT_EQ(answer.picked, std::nullopt);
    EXPECT_FALSE(missing.isOpen());

    using platform::HelperFilePicker;
    EXPECT_EQ(HelperFilePicker::readAnswer("shown\npicked\nfile:///tmp/a%0Ab\nfile:///tmp/c%20d/\n"),
              (QList<QUrl>{QUrl::fromLocalFile("/tmp/a\nb"), QUrl::fromLocalFile("/tmp/c d/")}))
        << "names with a line break or a space come through whole";
    EXPECT_EQ(HelperFilePicker::readAnswer("shown\npicked\n"), QList<QUrl>{}) << "chosen, but nothing";
    EXPECT_EQ(HelperFilePicker::readAnswer("shown\ncancelled\n"), std::nullopt);
    EXPECT_EQ(HelperFilePicker::readAnswer("shown\n"), std::nullopt) << "a dialog that died";
    EXPECT_EQ(HelperFilePicker::readAnswer("picked\nhttps://example.com/a\n"), std::nullopt) << "not a local file";
    EXPECT_EQ(HelperFilePicker::readAnswer("garbage\x01"), std::nullopt);
}

} // namespace
