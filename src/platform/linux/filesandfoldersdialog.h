#pragma once

#include <QAbstractItemView>
#include <QCollator>
#include <QDateTime>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileIconProvider>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QShortcut>
#include <QStandardItemModel>
#include <QStyle>
#include <QToolButton>
#include <QTreeView>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

// A dialog that chooses files and folders together, several at once. Qt's
// own file dialog chooses either files or one folder, and its folder
// listing leaves out names that are not UTF-8: this one reads folders as
// the file system's bytes and answers addresses that hold those bytes.
//
// Its confirm button always confirms: it takes exactly the selected
// entries, and does nothing while none is. A folder opens on a double
// click, or when its path is typed into the location field and confirmed
// with Return there; an existing file typed there is chosen. A typed path
// that does not exist or cannot be opened is said so under the field.
class FilesAndFoldersDialog final : public QDialog {
public:
    enum Column { NameColumn, SizeColumn, ModifiedColumn };
    static constexpr int PathRole = Qt::UserRole + 1; // the entry's path, as bytes
    static constexpr int FolderRole = Qt::UserRole + 2;

    explicit FilesAndFoldersDialog(const QString &confirmLabel = QStringLiteral("Zip"))
    {
        auto *up = new QToolButton(this);
        up->setObjectName(QStringLiteral("upButton"));
        up->setIcon(style()->standardIcon(QStyle::SP_FileDialogToParent));
        up->setToolTip(QStringLiteral("Enclosing Folder"));
        connect(up, &QToolButton::clicked, this, [this] { openFolder(parentOf(m_folder)); });
        auto *upKey = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_Up), this);
        connect(upKey, &QShortcut::activated, this, [this] { openFolder(parentOf(m_folder)); });

        m_location = new QLineEdit(this);
        m_location->setObjectName(QStringLiteral("location"));
        m_location->installEventFilter(this);
        connect(m_location, &QLineEdit::textEdited, this, [this] {
            m_typed = true;
            m_problem->hide();
        });
        m_problem = new QLabel(this);
        m_problem->setObjectName(QStringLiteral("problem"));
        m_problem->setTextFormat(Qt::PlainText);
        m_problem->hide();

        m_view = new QTreeView(this);
        m_view->setObjectName(QStringLiteral("entries"));
        m_view->setModel(&m_model);
        m_view->setRootIsDecorated(false);
        m_view->setItemsExpandable(false);
        m_view->setUniformRowHeights(true);
        m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
        m_view->setSelectionMode(QAbstractItemView::ExtendedSelection);
        m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
        m_view->installEventFilter(this);
        connect(m_view, &QTreeView::doubleClicked, this, [this](const QModelIndex &index) {
            const QModelIndex name = index.siblingAtColumn(NameColumn);
            if (name.data(FolderRole).toBool())
                openFolder(name.data(PathRole).toByteArray());
        });

        auto *buttons = new QDialogButtonBox(this);
        m_confirm = buttons->addButton(confirmLabel, QDialogButtonBox::AcceptRole);
        m_confirm->setObjectName(QStringLiteral("confirm"));
        m_confirm->setDefault(true);
        buttons->addButton(QDialogButtonBox::Cancel);
        connect(buttons, &QDialogButtonBox::accepted, this, &FilesAndFoldersDialog::accept);
        connect(buttons, &QDialogButtonBox::rejected, this, &FilesAndFoldersDialog::reject);
        connect(m_view->selectionModel(), &QItemSelectionModel::selectionChanged, this,
                [this] { m_confirm->setEnabled(m_view->selectionModel()->hasSelection()); });
        m_confirm->setEnabled(false);

        auto *top = new QHBoxLayout;
        top->addWidget(up);
        top->addWidget(m_location, 1);
        auto *layout = new QVBoxLayout(this);
        layout->addLayout(top);
        layout->addWidget(m_problem);
        layout->addWidget(m_view, 1);
        layout->addWidget(buttons);
        resize(720, 460);

        if (!openFolder(QFile::encodeName(QDir::homePath())))
            openFolder("/");
        m_location->setFocus();
    }

    // What the user chose, once accepted: one local file address each,
    // percent-encoding the path's bytes.
    QList<QUrl> chosen;

    QByteArray folder() const { return m_folder; }
    // Shows the folder at path (the file system's bytes); false when it
    // cannot be read.
    bool openFolder(const QByteArray &path)
    {
        QByteArray clean = QDir::cleanPath(QString::fromLatin1(path)).toLatin1();
        DIR *dir = ::opendir(clean.constData());
        if (!dir)
            return false;
        struct Entry {
            QByteArray name;
            QString shown;
            struct stat st;
            bool folder;
        };
        QList<Entry> entries;
        const QByteArray prefix = clean.endsWith('/') ? clean : clean + '/';
        while (const dirent *child = ::readdir(dir)) {
            Entry entry{QByteArray(child->d_name), {}, {}, false};
            // Hidden entries stay hidden, as in the desktop's file manager.
            if (entry.name.startsWith('.'))
                continue;
            struct stat st;
            if (::lstat((prefix + entry.name).constData(), &entry.st) != 0)
                continue;
            // A link to a folder opens like one, and is chosen as the link.
            entry.folder = ::stat((prefix + entry.name).constData(), &st) == 0 && S_ISDIR(st.st_mode);
            entry.shown = QFile::decodeName(entry.name);
            entries.append(entry);
        }
        ::closedir(dir);
        QCollator collator;
        collator.setNumericMode(true);
        collator.setCaseSensitivity(Qt::CaseInsensitive);
        std::sort(entries.begin(), entries.end(), [&](const Entry &a, const Entry &b) {
            if (a.folder != b.folder)
                return a.folder;
            const int order = collator.compare(a.shown, b.shown);
            return order != 0 ? order < 0 : a.name < b.name;
        });

        m_model.clear();
        m_model.setHorizontalHeaderLabels({QStringLiteral("Name"), QStringLiteral("Size"), QStringLiteral("Date Modified")});
        const QFileIconProvider icons;
        const QLocale locale;
        for (const Entry &entry : std::as_const(entries)) {
            auto *name = new QStandardItem(icons.icon(entry.folder ? QFileIconProvider::Folder : QFileIconProvider::File),
                                           entry.shown);
            name->setData(prefix + entry.name, PathRole);
            name->setData(entry.folder, FolderRole);
            auto *size = new QStandardItem(entry.folder ? QString() : locale.formattedDataSize(entry.st.st_size));
            size->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            auto *modified = new QStandardItem(locale.toString(
                QDateTime::fromSecsSinceEpoch(entry.st.st_mtim.tv_sec), QLocale::ShortFormat));
            m_model.appendRow({name, size, modified});
        }
        m_view->header()->setSectionResizeMode(NameColumn, QHeaderView::Stretch);
        m_view->header()->setStretchLastSection(false);
        m_view->header()->setSectionResizeMode(SizeColumn, QHeaderView::ResizeToContents);
        m_view->header()->setSectionResizeMode(ModifiedColumn, QHeaderView::ResizeToContents);
        m_folder = clean;
        m_problem->hide();
        showLocation();
        m_confirm->setEnabled(false);
        return true;
    }

    // The row of the entry named so in the folder shown, or -1.
    int rowOf(const QByteArray &name) const
    {
        const QByteArray path = (m_folder.endsWith('/') ? m_folder : m_folder + '/') + name;
        for (int row = 0; row < m_model.rowCount(); ++row) {
            if (m_model.item(row)->data(PathRole).toByteArray() == path)
                return row;
        }
        return -1;
    }

    QPushButton *confirmButton() const { return m_confirm; }

    // A local file address of the path's bytes, each one that is not plain
    // ASCII percent-encoded, so that a name that is not UTF-8 survives.
    static QUrl address(const QByteArray &path)
    {
        return QUrl::fromEncoded("file://" + path.toPercentEncoding("/"), QUrl::StrictMode);
    }

    void accept() override
    {
        chosen.clear();
        // In the order the list shows them.
        QModelIndexList rows = m_view->selectionModel()->selectedRows(NameColumn);
        std::sort(rows.begin(), rows.end(), [](const QModelIndex &a, const QModelIndex &b) { return a.row() < b.row(); });
        for (const QModelIndex &row : std::as_const(rows))
            chosen.append(address(row.data(PathRole).toByteArray()));
        if (chosen.isEmpty())
            return;
        QDialog::accept();
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return QDialog::eventFilter(watched, event);
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (watched == m_location && enter && m_typed) {
            takeTyped();
            return true;
        }
        if (watched == m_view && key->key() == Qt::Key_Backspace) {
            openFolder(parentOf(m_folder));
            return true;
        }
        return QDialog::eventFilter(watched, event);
    }

private:
    static QByteArray parentOf(const QByteArray &path)
    {
        const qsizetype slash = path.lastIndexOf('/');
        return slash <= 0 ? QByteArray("/") : path.left(slash);
    }

    void showLocation()
    {
        m_location->setText(QFile::decodeName(m_folder));
        m_location->selectAll();
        m_typed = false;
    }

    // What the location field names: a folder opens, an existing file is
    // chosen, anything else stays in the field.
    void takeTyped()
    {
        QString typed = m_location->text().trimmed();
        if (typed == QLatin1String("~") || typed.startsWith(QLatin1String("~/")))
            typed = QDir::homePath() + typed.mid(1);
        if (typed.isEmpty())
            return;
        QByteArray path = QFile::encodeName(typed);
        if (!path.startsWith('/'))
            path = (m_folder.endsWith('/') ? m_folder : m_folder + '/') + path;
        path = QDir::cleanPath(QString::fromLatin1(path)).toLatin1();
        struct stat st;
        if (::stat(path.constData(), &st) != 0) {
            showProblem(errno == ENOENT || errno == ENOTDIR ? QStringLiteral("No such file or folder: ")
                                                            : QStringLiteral("Couldn't open "),
                        path);
            return;
        }
        if (S_ISDIR(st.st_mode)) {
            if (!openFolder(path))
                showProblem(QStringLiteral("Couldn't open "), path);
            return;
        }
        if (S_ISREG(st.st_mode)) {
            const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
            if (fd < 0) {
                showProblem(QStringLiteral("Couldn't open "), path);
                return;
            }
            ::close(fd);
        }
        chosen = {address(path)};
        QDialog::accept();
    }

    void showProblem(const QString &what, const QByteArray &path)
    {
        m_problem->setText(what + QFile::decodeName(path));
        m_problem->show();
    }

    QStandardItemModel m_model;
    QLineEdit *m_location = nullptr;
    QLabel *m_problem = nullptr;
    QTreeView *m_view = nullptr;
    QPushButton *m_confirm = nullptr;
    QByteArray m_folder;
    bool m_typed = false; // the location field holds what the user typed
};

} // namespace platform
