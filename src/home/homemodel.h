#pragma once

#include "store/homemodule.h"
#include "home/homerules.h"

#include <QObject>
#include <QPointer>
#include <QSet>
#include <QStringList>
#include <QUrl>
#include <QVariant>
#include <QtQml/qqmlregistration.h>

class NotchViewModel;
class AppSettings;
class HomeParts;
enum class AppPermission;

// The Home panel's state apart from the drawing: which modules get a card,
// the header's groups, the icon strip, the edit actions, the content height
// the island sizes itself by, and the tool cards' own engines. The panel
// makes one and hands it the island's model and the Home parts (settings,
// permissions, defaults); it works once it has both. Main thread only.
class HomeModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_MOC_INCLUDE("island/notchviewmodel.h")
    Q_MOC_INCLUDE("home/homeparts.h")
    Q_PROPERTY(NotchViewModel *model READ model WRITE setModel NOTIFY modelChanged)
    Q_PROPERTY(HomeParts *parts READ parts WRITE setParts NOTIFY partsChanged)
    Q_PROPERTY(QStringList visibleModules READ visibleModules NOTIFY visibleModulesChanged)
    Q_PROPERTY(QList<ModuleTile> hiddenShipped READ hiddenShipped NOTIFY trayChanged)
    Q_PROPERTY(QString trayTitle READ trayTitle NOTIFY trayChanged)
    Q_PROPERTY(double scrollCap READ scrollCap NOTIFY heightChanged)
    Q_PROPERTY(bool scrolls READ scrolls NOTIFY heightChanged)
    Q_PROPERTY(QString versionText READ versionText CONSTANT)
    Q_PROPERTY(bool weatherShown READ weatherShown NOTIFY headerChanged)
    Q_PROPERTY(bool batteryShown READ batteryShown NOTIFY headerChanged)
    Q_PROPERTY(SymbolStyle battery READ battery NOTIFY headerChanged)
    Q_PROPERTY(QString batteryText READ batteryText NOTIFY headerChanged)
    Q_PROPERTY(QList<ChromeCell> chromeIcons READ chromeIcons NOTIFY chromeIconsChanged)
    Q_PROPERTY(bool stripIsMenu READ stripIsMenu NOTIFY headerChanged)
    Q_PROPERTY(bool remindersShown READ remindersShown NOTIFY visibleModulesChanged)
    Q_PROPERTY(QString mirrorNotice READ mirrorNotice NOTIFY mirrorNoticeChanged)
    Q_PROPERTY(QString mirrorNoticeDetail READ mirrorNoticeDetail NOTIFY mirrorNoticeChanged)

public:
    explicit HomeModel(QObject *parent = nullptr);

    NotchViewModel *model() const { return m_model; }
    void setModel(NotchViewModel *model);
    HomeParts *parts() const { return m_parts; }
    void setParts(HomeParts *parts);

    QStringList visibleModules() const { return m_visibleIds; }
    QList<HomeModule> visibleModuleList() const { return m_visible; }
    QList<ModuleTile> hiddenShipped() const;
    QString trayTitle() const;
    double scrollCap() const;
    bool scrolls() const;
    QString versionText() const;
    bool weatherShown() const;
    bool batteryShown() const;
    SymbolStyle battery() const;
    QString batteryText() const;
    QList<ChromeCell> chromeIcons() const { return m_chromeIcons; }
    bool stripIsMenu() const;
    // The calendar card's reminder gate, apart from the option itself.
    bool remindersShown() const;
    // Why Mirror did not open, while the island's camera pulse says so
    // (which the closed island draws, and Home covers); empty otherwise.
    QString mirrorNotice() const;
    QString mirrorNoticeDetail() const;

    // The measured content height; the island takes it unless it moved by
    // 1 pt or less.
    Q_INVOKABLE void reportContentHeight(double height);
    // Where Home's list scrolls to bring top..bottom of its content into
    // sight (HomeRules::revealScroll).
    Q_INVOKABLE static double revealScroll(double scroll, double view, double most, double top, double bottom,
                                           double margin);
    Q_INVOKABLE void removeModule(const QString &id);
    Q_INVOKABLE void addModule(const QString &id);
    Q_INVOKABLE void openLibrary();
    Q_INVOKABLE void toggleEditing();
    // A tile dragged to coordinate y; frames: id -> {y, height}. Moves the
    // module when the target differs from its place; true when it moved.
    Q_INVOKABLE bool dragModule(const QString &id, double y, const QVariantMap &frames);
    // Moves the module shown at visible position `position` ... to that place.
    Q_INVOKABLE void moveModuleToVisible(const QString &id, int position);
    // An icon dragged to x; frames: id -> {x, width}.
    Q_INVOKABLE bool dragChromeIcon(const QString &id, double x, const QVariantMap &frames);
    Q_INVOKABLE void removeChromeIcon(const QString &id);
    Q_INVOKABLE JiggleParams jiggle(const QString &id) const { return HomeRules::jiggleParamsFor(id); }
    // The card of module id, from its row (HomeModules::card): a file the
    // panel resolves against its own; empty for an icon-only or unknown id.
    Q_INVOKABLE static QUrl cardView(const QString &id);
    // Engines of the zip and mic-check cards; null where the machine lacks
    // the parts. The mic check's goes with its card, and with it the take;
    // the zip engine is the Home parts' one, which outlives every card, so
    // that what a run ends with is still shown once Home opens again.
    Q_INVOKABLE QObject *makeZipEngine(QObject *card);
    Q_INVOKABLE QObject *makeMicCheckEngine(QObject *card);
    // The maker's page on how media saves work, in the browser.
    Q_INVOKABLE void openHelpPage();
    static QUrl helpPageUrl();

    // Records the grants found while computing the list; runs from the event
    // loop, never inside the computation.
    void recordPendingGrants();

signals:
    void modelChanged();
    void partsChanged();
    void visibleModulesChanged();
    void trayChanged();
    void heightChanged();
    void headerChanged();
    void chromeIconsChanged();
    void mirrorNoticeChanged();

private:
    // Follows the model and the parts once both are set.
    void attach();
    // The model, once the parts are there too.
    NotchViewModel *ready() const { return m_parts ? m_model.get() : nullptr; }
    AppSettings *settings() const;
    void recompute();
    // The header's values and the icon list, each announced only when it
    // differs.
    void refreshHeader();
    QList<ChromeCell> computeChromeIcons() const;
    bool grantPasses(AppPermission permission);
    bool wants(const QString &key) const;

    QPointer<NotchViewModel> m_model;
    QPointer<HomeParts> m_parts;
    QList<HomeModule> m_visible;
    QStringList m_visibleIds;
    QList<ModuleTile> m_tray;
    QList<ChromeCell> m_chromeIcons;
    // The header as last announced.
    struct Header {
        bool weatherShown = false;
        bool batteryShown = false;
        SymbolStyle battery;
        QString batteryText;
        bool stripIsMenu = false;
        bool operator==(const Header &) const = default;
    };
    Header m_header;
    QSet<AppPermission> m_pendingGrants;
    bool m_grantsQueued = false;
    QList<QMetaObject::Connection> m_connections;
};
