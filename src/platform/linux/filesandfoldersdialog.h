#pragma once

#include <QAbstractItemView>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QListView>
#include <QTreeView>
#include <QUrl>

namespace platform {

// QFileDialog chooses either files or one folder. This one lets its views
// select several entries of either kind and takes them as they are.
// A name typed into the file name field is not such a choice, even though
// the views select what it names as it is typed: a typed folder is opened
// in the dialog, as the "Open" its button then shows promises.
class FilesAndFoldersDialog final : public QFileDialog {
public:
    FilesAndFoldersDialog()
    {
        setOption(QFileDialog::DontUseNativeDialog, true);
        setFileMode(QFileDialog::ExistingFiles);
        m_name = findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        if (m_name)
            connect(m_name, &QLineEdit::textEdited, this, [this] { m_typed = true; });
        connect(this, &QFileDialog::directoryEntered, this, [this] { m_typed = false; });
        for (auto *view : findChildren<QAbstractItemView *>()) {
            if (qobject_cast<QListView *>(view) || qobject_cast<QTreeView *>(view)) {
                view->setSelectionMode(QAbstractItemView::ExtendedSelection);
                // A choice made in a view replaces what was typed.
                connect(view->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
                    if (!m_name || !m_name->hasFocus())
                        m_typed = false;
                });
            }
        }
    }

    QList<QUrl> chosen;

    void accept() override
    {
        chosen.clear();
        if (m_typed && openTypedFolder())
            return;
        if (m_typed) {
            // Typed names go the dialog's own way: a folder among them is
            // opened, existing files are chosen.
            // The answer is read as the dialog finishes, inside accept().
            chosen = selectedUrls();
            QFileDialog::accept();
            if (isVisible())
                chosen.clear();
            return;
        }
        // The list or the detail view, whichever is showing.
        QAbstractItemView *view = findChild<QListView *>(QStringLiteral("listView"));
        if (viewMode() == QFileDialog::Detail)
            view = findChild<QTreeView *>(QStringLiteral("treeView"));
        auto *model = view ? qobject_cast<QFileSystemModel *>(view->model()) : nullptr;
        if (view && model) {
            // Each selected entry once, however many of its columns are
            // selected (a row selected while the folder was still being
            // read may lack the columns that came later).
            QList<QModelIndex> rows;
            for (const QModelIndex &index : view->selectionModel()->selectedIndexes()) {
                const QModelIndex row = index.siblingAtColumn(0);
                if (!rows.contains(row))
                    rows.append(row);
            }
            for (const QModelIndex &row : std::as_const(rows))
                chosen.append(QUrl::fromLocalFile(model->filePath(row)));
        }
        if (chosen.isEmpty()) {
            // The answer is read as the dialog finishes, inside accept().
            chosen = selectedUrls();
            QFileDialog::accept();
            if (isVisible())
                chosen.clear();
            return;
        }
        QDialog::accept();
    }

private:
    // Opens the folder the field names, if it names one.
    bool openTypedFolder()
    {
        QString typed = m_name ? m_name->text().trimmed() : QString();
        if (typed.isEmpty())
            return false;
        if (typed == QLatin1String("~") || typed.startsWith(QLatin1String("~/")))
            typed = QDir::homePath() + typed.mid(1);
        const QFileInfo info(directory(), typed);
        if (!info.isDir())
            return false;
        setDirectory(info.absoluteFilePath());
        m_name->clear();
        m_typed = false;
        return true;
    }

    QLineEdit *m_name = nullptr;
    bool m_typed = false; // the field holds what the user typed, not a view's choice
};

} // namespace platform
