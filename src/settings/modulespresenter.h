#pragma once

#include "store/homemodule.h"
#include "core/recordlistmodel.h"
#include "core/scheduler.h"

#include <QHash>
#include <QObject>
#include <QSet>
#include <QString>
#include <QUrl>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>
#include <vector>
#include <optional>

class AppSettings;
class AppNotifications;
class CanvasCredentialStore;
class PermissionCenter;
class Random;
enum class AppPermission;
namespace platform {
class IAppLauncher;
}

// One option switch of a module card: its title and the settings property it
// writes.
struct ModuleOption {
    Q_GADGET
    QML_VALUE_TYPE(moduleOption)
    Q_PROPERTY(QString title MEMBER title CONSTANT)
    Q_PROPERTY(QString property MEMBER property CONSTANT)
public:
    QString title;
    QString property;
    bool operator==(const ModuleOption &) const = default;
};

// A module's card on the Modules or Library page.
struct ModuleCardRow {
    enum class Kind { shipped, installed, library };

    QString id;
    Kind kind = Kind::shipped;
    QString title;
    QString detail;
    QString symbol;
    bool included = false;     // the "Included" badge
    bool onNotch = false;      // the switch of a shipped card
    bool hasChevron = false;   // options, or the Canvas form
    bool installing = false;
    QString permissionLine;    // empty: none

    bool operator==(const ModuleCardRow &) const = default;

    enum Role { IdRole = Qt::UserRole, KindRole, TitleRole, DetailRole, SymbolRole, IncludedRole, OnNotchRole,
                HasChevronRole, InstallingRole, PermissionLineRole };
    static QHash<int, QByteArray> roles();
    QVariant roleValue(int role) const;
};

// The Modules and Library pages: which module cards they show, each card's
// options and permission line, installing and removing, and the Canvas
// token page. Installing waits on the presenter, so it finishes even after
// its card has gone.
class ModulesPresenter : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by the settings window")
    Q_PROPERTY(QAbstractItemModel *modulesPage READ modulesPage CONSTANT)
    Q_PROPERTY(QAbstractItemModel *libraryPage READ libraryPage CONSTANT)
    Q_PROPERTY(bool hasStoredToken READ hasStoredToken NOTIFY hasStoredTokenChanged)
    Q_PROPERTY(QString tokenPlaceholder READ tokenPlaceholder NOTIFY hasStoredTokenChanged)
    // Whether a page shows the cards; changes meanwhile wait until one does.
    Q_PROPERTY(bool shown READ shown WRITE setShown NOTIFY shownChanged)
public:
    enum Kind { Shipped = int(ModuleCardRow::Kind::shipped), Installed, Library };
    Q_ENUM(Kind)

    struct Parts {
        AppSettings *settings = nullptr;
        PermissionCenter *permissions = nullptr;     // may be null: no permission lines
        CanvasCredentialStore *credentials = nullptr; // may be null: no token stored
        AppNotifications *notifications = nullptr;
        platform::IAppLauncher *launcher = nullptr;
        Scheduler *scheduler = nullptr;
        Random *random = nullptr;
    };

    explicit ModulesPresenter(const Parts &parts, QObject *parent = nullptr);

    QAbstractItemModel *modulesPage() { return &m_modules; }
    QAbstractItemModel *libraryPage() { return &m_library; }
    const RecordListModel<ModuleCardRow> &modulesRows() const { return m_modules; }
    const RecordListModel<ModuleCardRow> &libraryRows() const { return m_library; }

    static QList<ModuleOption> optionsFor(HomeModule module);
    static std::optional<AppPermission> permissionFor(HomeModule module);
    // "Hidden until Location is on in Permissions", or empty.
    QString permissionLine(HomeModule module) const;
    // The school's token page for a typed address; nothing unless it is an
    // http or https address with a host.
    static std::optional<QUrl> canvasTokenPageUrl(const QString &typed);
    // The install wait in milliseconds for a draw r in 0...2^53: 1 to 2 s.
    static int installDelayMs(std::uint64_t r);

    Q_INVOKABLE QVariantList options(const QString &id) const;
    Q_INVOKABLE bool option(const QString &property) const;
    Q_INVOKABLE void setOption(const QString &property, bool value);
    Q_INVOKABLE bool canExpand(const QString &id) const;
    // What an expanded card holds besides its options.
    Q_INVOKABLE bool showsWorldClocks(const QString &id) const { return id == QLatin1String("clocks"); }
    Q_INVOKABLE bool showsCanvasForm(const QString &id) const { return id == QLatin1String("canvas"); }
    // Player and world clocks open expanded; so does Canvas once after it
    // was installed.
    Q_INVOKABLE bool takeExpandOnAppear(const QString &id);
    Q_INVOKABLE void setOnNotch(const QString &id, bool on);
    Q_INVOKABLE void install(const QString &id);
    Q_INVOKABLE void remove(const QString &id);
    Q_INVOKABLE void goToLibrary();
    Q_INVOKABLE void openCanvasTokenPage();
    Q_INVOKABLE void saveCanvasToken();

    bool isInstalling(const QString &id) const { return m_installing.contains(id); }
    bool hasStoredToken() const;
    bool shown() const { return m_shown; }
    void setShown(bool shown);
    QString tokenPlaceholder() const;

signals:
    void hasStoredTokenChanged();
    void shownChanged();

public slots:
    // Rebuilds both pages from the settings and the permissions.
    void rebuild();
    // Rebuilds now while shown, else when next shown.
    void invalidate();

private:
    ModuleCardRow row(HomeModule module, ModuleCardRow::Kind kind) const;

    Parts m_parts;
    RecordListModel<ModuleCardRow> m_modules;
    RecordListModel<ModuleCardRow> m_library;
    QSet<QString> m_installing;
    std::vector<TaskHandle> m_installTasks;
    QSet<QString> m_expandOnce;
    bool m_shown = false;
    bool m_stale = true;
    // What hasStoredToken() last said, so that its notice fires only on a change.
    bool m_hadStoredToken = false;
};
