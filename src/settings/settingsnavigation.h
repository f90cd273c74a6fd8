#pragma once

#include <QColor>
#include <QDateTime>
#include <QObject>
#include <QString>
#include <QVariantList>
#include <QVariantMap>
#include <QtQml/qqmlregistration.h>
#include <optional>

class AppNotifications;
class Clock;

// One entry of the settings window's sidebar.
struct SettingsPageInfo {
    Q_GADGET
    QML_VALUE_TYPE(settingsPageInfo)
    Q_PROPERTY(int page MEMBER page CONSTANT)
    Q_PROPERTY(QString rawValue MEMBER rawValue CONSTANT)
    Q_PROPERTY(QString title MEMBER title CONSTANT)
    Q_PROPERTY(QString symbol MEMBER symbol CONSTANT)
    // The tint before the accent resolver.
    Q_PROPERTY(QColor tint MEMBER tint CONSTANT)
public:
    int page = 0;
    QString rawValue;
    QString title;
    QString symbol;
    QColor tint;
};

// A row of the Notch page's gesture list.
struct GestureRow {
    Q_GADGET
    QML_VALUE_TYPE(gestureRow)
    Q_PROPERTY(QString gesture MEMBER gesture CONSTANT)
    Q_PROPERTY(QString effect MEMBER effect CONSTANT)
public:
    QString gesture;
    QString effect;
};

// The settings window's pages and which one shows. A page asked for through
// "pavletOpenSettings" is kept even while no window exists yet, so a window
// built for that request opens on it.
class SettingsNavigation : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by the settings window")
    Q_PROPERTY(Page page READ page WRITE setPage NOTIFY pageChanged)
    Q_PROPERTY(QVariantList pages READ pages CONSTANT)
public:
    enum class Page { general, permissions, modules, library, notch };
    Q_ENUM(Page)

    // Island-edit requests go out through notifications (may be null).
    // clock gives now() (may be null: the system's time).
    explicit SettingsNavigation(AppNotifications *notifications = nullptr, const Clock *clock = nullptr,
                                QObject *parent = nullptr)
        : QObject(parent), m_notifications(notifications), m_clock(clock)
    {
    }

    static const QList<Page> &all();
    static QString rawValue(Page page);
    // Exact match of a raw value only.
    static std::optional<Page> fromRawValue(const QString &raw);
    static QString title(Page page);
    static QString symbol(Page page);
    static QColor tint(Page page);
    // The page named by an open-settings notice: a "page" entry holding a
    // string that is a raw value; nothing for anything else.
    static std::optional<Page> pageFromUserInfo(const QVariantMap &userInfo);

    Page page() const { return m_page; }
    void setPage(Page page);
    QVariantList pages() const;

    // An open-settings notice: selects its page when it names one.
    void handleOpenSettings(const QVariantMap &userInfo);
    Q_INVOKABLE void select(int page);
    // Asks for the on-screen island editor ("pavletBeginIslandEdit").
    Q_INVOKABLE void beginIslandEdit();
    // The moment the clock samples show.
    Q_INVOKABLE QDateTime now() const;
    // "How to use the notch": always these eight rows.
    Q_INVOKABLE static QVariantList gestureRows();
    // "Quit Pavlet" and Ctrl+Q.
    Q_INVOKABLE void quit() { emit quitRequested(); }
    // Ctrl+,: asks for the settings window ("pavletOpenSettings", no page),
    // which brings it forward.
    Q_INVOKABLE void openSettings();

signals:
    void pageChanged();
    void quitRequested();

private:
    AppNotifications *m_notifications;
    const Clock *m_clock;
    Page m_page = Page::general;
};
