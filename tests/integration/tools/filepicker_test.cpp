#include "platform/linux/qtfilepicker.h"
#include "support/pavlettest.h"
#include "support/qtprinters.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QListView>
#include <QTimer>

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
    const auto picked = picker.pickFilesAndFolders("Zip");
    EXPECT_EQ(label, "Zip");
    ASSERT_TRUE(picked.has_value());
    QStringList paths;
    for (const QUrl &url : *picked)
        paths.append(url.toLocalFile());
    paths.sort();
    EXPECT_EQ(paths, (QStringList{tempPath("pick/Album"), tempPath("pick/notes.txt")}));
}

TEST_F(FilePickerTest, CancelPicksNothing)
{
    whenShown([](QFileDialog &dialog) { dialog.reject(); });
    platform::QtFilePicker picker;
    EXPECT_EQ(picker.pickFilesAndFolders("Zip"), std::nullopt);
}

} // namespace
