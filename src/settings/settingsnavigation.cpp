#include "settings/settingsnavigation.h"

#include "core/appnotifications.h"
#include "core/clock.h"
#include "games/gameregistry.h"
#include "style/palette.h"

namespace {
struct PageRow {
    SettingsNavigation::Page page;
    const char *raw;
    const char *title;
    const char *symbol;
};

const PageRow kPages[] = {
    {SettingsNavigation::Page::general, "general", "General", "slider.horizontal.3"},
    {SettingsNavigation::Page::permissions, "permissions", "Permissions", "lock.shield.fill"},
    {SettingsNavigation::Page::modules, "modules", "Modules", "square.grid.2x2.fill"},
    {SettingsNavigation::Page::library, "library", "Library", "square.stack.fill"},
    {SettingsNavigation::Page::notch, "notch", "Notch", "menubar.rectangle"},
};
} // namespace

const QList<SettingsNavigation::Page> &SettingsNavigation::all()
{
    static const QList<Page> pages{Page::general, Page::permissions, Page::modules, Page::library, Page::notch};
    return pages;
}

QString SettingsNavigation::rawValue(Page page) { return QString::fromLatin1(kPages[int(page)].raw); }
QString SettingsNavigation::title(Page page) { return QString::fromLatin1(kPages[int(page)].title); }
QString SettingsNavigation::symbol(Page page) { return QString::fromLatin1(kPages[int(page)].symbol); }

QColor SettingsNavigation::tint(Page page)
{
    switch (page) {
    case Page::general:
    case Page::library: return Palette::yellowColor;
    case Page::permissions:
    case Page::notch: return Palette::mintColor;
    case Page::modules: return Palette::skyColor;
    }
    return Palette::yellowColor;
}

std::optional<SettingsNavigation::Page> SettingsNavigation::fromRawValue(const QString &raw)
{
    for (const PageRow &row : kPages) {
        if (raw == QLatin1String(row.raw))
            return row.page;
    }
    return std::nullopt;
}

std::optional<SettingsNavigation::Page> SettingsNavigation::pageFromUserInfo(const QVariantMap &userInfo)
{
    const QVariant value = userInfo.value(QStringLiteral("page"));
    if (value.typeId() != QMetaType::QString)
        return std::nullopt;
    return fromRawValue(value.toString());
}

void SettingsNavigation::setPage(Page page)
{
    if (page == m_page)
        return;
    m_page = page;
    emit pageChanged();
}

QVariantList SettingsNavigation::pages() const
{
    QVariantList list;
    for (Page p : all())
        list << QVariant::fromValue(SettingsPageInfo{int(p), rawValue(p), title(p), symbol(p), tint(p)});
    return list;
}

void SettingsNavigation::handleOpenSettings(const QVariantMap &userInfo)
{
    if (const auto page = pageFromUserInfo(userInfo))
        setPage(*page);
}

void SettingsNavigation::select(int page)
{
    if (page >= 0 && page < all().size())
        setPage(Page(page));
}

void SettingsNavigation::beginIslandEdit()
{
    if (m_notifications)
        m_notifications->post(AppNotifications::BeginIslandEdit);
}

void SettingsNavigation::openSettings()
{
    if (m_notifications)
        m_notifications->post(AppNotifications::OpenSettings);
}

QDateTime SettingsNavigation::now() const
{
    return m_clock ? m_clock->now() : QDateTime::currentDateTime();
}

QVariantList SettingsNavigation::gestureRows()
{
    static const char *const rows[][2] = {
        {"Click", "Open home"},
        {"Double-click", "Open Canvas"},
        {"Hover", "Peek live activity"},
        {"Pavlet Lock", "Ctrl+Alt+G so hover won\u2019t open home"},
        {"Mirror", "Camera preview in the notch"},
        {"Find My", "Opens the Find My app"},
        {"Games", "%1 arcade games in the notch"},
        {"Esc", "Close the panel"},
    };
    QVariantList list;
    for (const auto &row : rows) {
        QString effect = QString::fromUtf8(row[1]);
        // The games' row counts the arcade's games.
        if (effect.contains(QLatin1String("%1")))
            effect = effect.arg(GameRegistry::countInWords());
        list << QVariant::fromValue(GestureRow{QString::fromUtf8(row[0]), effect});
    }
    return list;
}
