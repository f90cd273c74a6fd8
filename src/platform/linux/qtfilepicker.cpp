#include "platform/linux/qtfilepicker.h"

#include <QAbstractItemView>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QListView>
#include <QTreeView>
#include <QWindow>
#include <utility>

namespace platform {

namespace {

// QFileDialog chooses either files or one folder. This one lets its views
// select several entries of either kind and takes them as they are.
class FilesAndFoldersDialog final : public QFileDialog {
public:
    FilesAndFoldersDialog()
    {
        setOption(QFileDialog::DontUseNativeDialog, true);
        setFileMode(QFileDialog::ExistingFiles);
        for (auto *view : findChildren<QAbstractItemView *>()) {
            if (qobject_cast<QListView *>(view) || qobject_cast<QTreeView *>(view))
                view->setSelectionMode(QAbstractItemView::ExtendedSelection);
        }
    }

    QList<QUrl> chosen;

    void accept() override
    {
        chosen.clear();
        // The list or the detail view, whichever is showing.
        QAbstractItemView *view = findChild<QListView *>(QStringLiteral("listView"));
        if (viewMode() == QFileDialog::Detail)
            view = findChild<QTreeView *>(QStringLiteral("treeView"));
        auto *model = view ? qobject_cast<QFileSystemModel *>(view->model()) : nullptr;
        if (view && model) {
            for (const QModelIndex &index : view->selectionModel()->selectedRows())
                chosen.append(QUrl::fromLocalFile(model->filePath(index)));
        }
        if (chosen.isEmpty()) {
            QFileDialog::accept();
            if (result() == QDialog::Accepted)
                chosen = selectedUrls();
            return;
        }
        QDialog::accept();
    }
};

} // namespace

QtFilePicker::~QtFilePicker()
{
    delete m_dialog;
}

void QtFilePicker::pickFilesAndFolders(const QString &confirmLabel, Answer done)
{
    // One dialog at a time: a second request only brings the open one forward.
    if (m_dialog) {
        m_dialog->raise();
        m_dialog->activateWindow();
        if (done)
            done(std::nullopt);
        return;
    }
    auto *dialog = new FilesAndFoldersDialog;
    m_dialog = dialog;
    dialog->setWindowFlag(Qt::WindowStaysOnTopHint, true);
    dialog->setLabelText(QFileDialog::Accept, confirmLabel);
    if (QWindow *above = m_above ? m_above() : nullptr) {
        dialog->winId(); // the native window, so that it can name its owner
        dialog->windowHandle()->setTransientParent(above);
    }
    // finished comes once, for accept and reject alike; the answer is taken
    // out first so that nothing it holds outlives the dialog.
    QObject::connect(dialog, &QDialog::finished, dialog, [dialog, done = std::move(done)](int result) mutable {
        dialog->deleteLater();
        auto answer = std::exchange(done, nullptr);
        if (!answer)
            return;
        if (result == QDialog::Accepted)
            answer(dialog->chosen);
        else
            answer(std::nullopt);
    });
    dialog->open();
    dialog->raise();
    dialog->activateWindow();
}

} // namespace platform
