#include "platform/linux/qtfilepicker.h"
#include "support/pavlettest.h"
#include "support/qtprinters.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCompleter>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QListView>
#include <QTest>
#include <QGuiApplication>
#include <QProcess>
#include <QTimer>
#include <QWindow>

namespace {

class FilePickerTest : public PavletTest {
protected:
    // Drives the open dialog the way a user would, once it shows.
    void whenShown(std::function<void(QFileDialog &)> act)
    {
        auto *poll = new QTimer(qApp);
        QObject::connect(poll, &QTimer::timeout, poll, [poll, act] {
            auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            poll->deleteLater();
            act(*dialog);
        });
        poll->start(20);
    }
    // Opens the dialog and waits for its answer.
    static std::optional<QList<QUrl>> pick(platform::QtFilePicker &picker)
    {
        bool answered = false;
        std::optional<QList<QUrl>> out;
        picker.pickFilesAndFolders("Zip", [&](std::optional<QList<QUrl>> picked) {
            answered = true;
            out = std::move(picked);
        });
        waitUntil([&] { return answered; }, 10000);
        return out;
    }
};

TEST_F(FilePickerTest, ChoosesAFolderAndAFileTogether)
{
    QDir(tmp.path()).mkpath("pick/Album");
    QFile file(tempPath("pick/notes.txt"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();

    QString label;
    whenShown([&](QFileDialog &dialog) {
        label = dialog.labelText(QFileDialog::Accept);
        dialog.setDirectory(tempPath("pick"));
        auto *view = dialog.findChild<QListView *>("listView");
        auto *model = qobject_cast<QFileSystemModel *>(view->model());
        // The folder is read in the background; select once both entries show.
        auto *wait = new QTimer(&dialog);
        QObject::connect(wait, &QTimer::timeout, &dialog, [&dialog, view, model, this] {
            const QModelIndex folder = model->index(tempPath("pick/Album"));
            const QModelIndex note = model->index(tempPath("pick/notes.txt"));
            if (!folder.isValid() || !note.isValid())
                return;
            view->selectionModel()->select(folder, QItemSelectionModel::Select | QItemSelectionModel::Rows);
            view->selectionModel()->select(note, QItemSelectionModel::Select | QItemSelectionModel::Rows);
            QMetaObject::invokeMethod(&dialog, "accept");
        });
        wait->start(20);
    });
    platform::QtFilePicker picker;
    const auto picked = pick(picker);
    EXPECT_EQ(label, "Zip");
    ASSERT_TRUE(picked.has_value());
    QStringList paths;
    for (const QUrl &url : *picked)
        paths.append(url.toLocalFile());
    paths.sort();
    EXPECT_EQ(paths, (QStringList{tempPath("pick/Album"), tempPath("pick/notes.txt")}));
}

// A folder's name or path typed into the name field and confirmed with
// Return opens that folder; nothing is chosen until the user chooses.
TEST_F(FilePickerTest, ATypedFolderOpensInTheDialogAndATypedFileIsChosen)
{
    QDir(tmp.path()).mkpath("pick/Album");
    QDir(tmp.path()).mkpath("elsewhere");
    QFile file(tempPath("elsewhere/notes.txt"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    QStringList entered;
    whenShown([&](QFileDialog &dialog) {
        dialog.setDirectory(tempPath("pick"));
        auto *name = dialog.findChild<QLineEdit *>("fileNameEdit");
        auto *model = qobject_cast<QFileSystemModel *>(dialog.findChild<QListView *>("listView")->model());
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
    platform::QtFilePicker picker;
    EXPECT_EQ(pick(picker), QList<QUrl>{QUrl::fromLocalFile(tempPath("elsewhere/notes.txt"))})
        << "a typed file is chosen";
    EXPECT_EQ(entered, (QStringList{tempPath("pick/Album"), tempPath("elsewhere")}));
}

TEST_F(FilePickerTest, CancelPicksNothing)
{
    whenShown([](QFileDialog &dialog) { dialog.reject(); });
    platform::QtFilePicker picker;
    EXPECT_EQ(pick(picker), std::nullopt);
}

// The dialog must not open under an always-on-top window that asked for it:
// the window manager keeps it over its owner and in the top layer.
TEST_F(FilePickerTest, TheDialogStandsOverTheWindowThatOpenedIt)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        GTEST_SKIP() << "needs an X server";
    QWindow island;
    island.setFlags(Qt::FramelessWindowHint | Qt::Tool | Qt::WindowStaysOnTopHint);
    island.setGeometry(600, 0, 300, 200);
    island.show();
    platform::QtFilePicker picker([&island] { return &island; });
    bool answered = false;
    picker.pickFilesAndFolders("Zip", [&](auto) { answered = true; });
    ASSERT_TRUE(picker.dialog());
    QFileDialog *dialog = picker.dialog();
    ASSERT_TRUE(waitUntil([&] { return dialog->isVisible(); }));
    EXPECT_FALSE(answered) << "the call returns while the dialog is up";
    QCoreApplication::processEvents();
    QProcess xprop;
    xprop.start("xprop", {"-id", QString::number(dialog->windowHandle()->winId()), "WM_TRANSIENT_FOR", "_NET_WM_STATE"});
    ASSERT_TRUE(xprop.waitForFinished(5000));
    const QString props = QString::fromUtf8(xprop.readAllStandardOutput());
    EXPECT_TRUE(props.contains(QString("window id # 0x%1").arg(island.winId(), 0, 16))) << props.toStdString();
    EXPECT_TRUE(props.contains("_NET_WM_STATE_ABOVE")) << props.toStdString();

    dialog->reject();
    EXPECT_TRUE(answered);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(picker.dialog()) << "the dialog goes once answered";
}

} // namespace
