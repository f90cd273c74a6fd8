#include "platform/linux/filesandfoldersdialog.h"
#include "platform/linux/helperfilepicker.h"
#include "support/patience.h"
#include "support/pavlettest.h"
#include "support/qtprinters.h"

#include <QCompleter>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <signal.h>

namespace {

bool emptyFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly);
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

TEST_F(FilesAndFoldersDialogTest, ChoosesAFolderAndAFileTogether)
{
    QDir(tmp.path()).mkpath("pick/Album");
    ASSERT_TRUE(emptyFile(tempPath("pick/notes.txt")));

    platform::FilesAndFoldersDialog dialog;
    // The list, whatever view the last dialog on this machine left behind.
    dialog.setViewMode(QFileDialog::List);
    dialog.setDirectory(tempPath("pick"));
    auto *view = dialog.findChild<QListView *>("listView");
    auto *model = qobject_cast<QFileSystemModel *>(view->model());
    const auto picked = run(dialog, [&] {
        // The folder is read in the background; select once both entries show.
        auto *wait = new QTimer(&dialog);
        QObject::connect(wait, &QTimer::timeout, &dialog, [&dialog, view, model, wait, this] {
            const QModelIndex folder = model->index(tempPath("pick/Album"));
            const QModelIndex note = model->index(tempPath("pick/notes.txt"));
            if (!folder.isValid() || !note.isValid())
                return;
            wait->stop();
            view->selectionModel()->select(folder, QItemSelectionModel::Select | QItemSelectionModel::Rows);
            // Only the name's column, as an entry picked while the folder
            // was still being read holds: chosen all the same.
            view->selectionModel()->select(note, QItemSelectionModel::Select);
            QMetaObject::invokeMethod(&dialog, "accept");
        });
        wait->start(20);
    });
    ASSERT_TRUE(picked.has_value());
    QStringList paths;
    for (const QUrl &url : *picked)
        paths.append(url.toLocalFile());
    paths.sort();
    EXPECT_EQ(paths, (QStringList{tempPath("pick/Album"), tempPath("pick/notes.txt")}));
}

// A folder's name or path typed into the name field and confirmed with
// Return opens that folder; nothing is chosen until the user chooses.
TEST_F(FilesAndFoldersDialogTest, ATypedFolderOpensInTheDialogAndATypedFileIsChosen)
{
    QDir(tmp.path()).mkpath("pick/Album");
    QDir(tmp.path()).mkpath("elsewhere");
    ASSERT_TRUE(emptyFile(tempPath("elsewhere/notes.txt")));
    QStringList entered;
    platform::FilesAndFoldersDialog dialog;
    dialog.setViewMode(QFileDialog::List);
    dialog.setDirectory(tempPath("pick"));
    auto *name = dialog.findChild<QLineEdit *>("fileNameEdit");
    auto *model = qobject_cast<QFileSystemModel *>(dialog.findChild<QListView *>("listView")->model());
    const auto picked = run(dialog, [&] {
        auto *wait = new QTimer(&dialog);
        QObject::connect(wait, &QTimer::timeout, &dialog, [&dialog, &entered, name, model, wait, this] {
            if (!model->index(tempPath("pick/Album")).isValid())
                return;
            wait->stop();
            name->setFocus();
            for (const QString &typed : {QStringLiteral("Album"), tempPath("elsewhere"), tempPath("elsewhere/notes.txt")}) {
                QTest::keyClicks(name, typed);
                // The completion list, when it shows, takes the first Return.
                if (name->completer() && name->completer()->popup())
                    name->completer()->popup()->hide();
                QTest::keyClick(name, Qt::Key_Return);
                if (dialog.isVisible())
                    entered << QDir(dialog.directory()).absolutePath();
            }
        });
        wait->start(20);
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
    // The name field's completion list, when it shows, takes the first
    // Return; the next one chooses the file.
    keys(window, {"key", "Return"});
    if (!Patience::until([&] { return chosen.answered; }, 1500))
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
