#include "platform/linux/qtfilepicker.h"

#include <QAbstractItemView>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QListView>
#include <QTreeView>

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

std::optional<QList<QUrl>> QtFilePicker::pickFilesAndFolders(const QString &confirmLabel)
{
    FilesAndFoldersDialog dialog;
    dialog.setLabelText(QFileDialog::Accept, confirmLabel);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.chosen;
}

} // namespace platform
