#include "settings/updatecardmodel.h"

#include "update/updateservice.h"

#include <cmath>

UpdateCardState UpdateCardState::make(const UpdateStatus &status, const std::optional<UpdateManifest> &latest,
                                      const QString &host)
{
    const QString version = latest ? latest->version : QString();
    const QString notes = latest ? latest->notes : QString();
    UpdateCardState s;
    switch (status.kind) {
    case UpdateStatus::Kind::idle:
        s.statusLine = QStringLiteral("Check ") + host
            + QStringLiteral(" for a newer Pavlet. If one is up, the notch will also offer it after launch.");
        s.primaryTitle = QStringLiteral("Check for Updates");
        break;
    case UpdateStatus::Kind::checking:
        s.statusLine = QStringLiteral("Asking ") + host + QStringLiteral("\u2026");
        s.primaryTitle = QStringLiteral("Checking\u2026");
        s.mainEnabled = false;
        break;
    case UpdateStatus::Kind::upToDate:
        s.statusLine = QStringLiteral("You're on the latest Pavlet.");
        s.primaryTitle = QStringLiteral("Check again");
        break;
    case UpdateStatus::Kind::available:
        s.statusLine = notes.isEmpty() ? QStringLiteral("Pavlet ") + version + QStringLiteral(" is ready to download.")
                                       : QStringLiteral("Pavlet ") + version + QStringLiteral(" is ready. ") + notes;
        s.primaryTitle = latest ? QStringLiteral("Download ") + version : QStringLiteral("Download");
        s.laterVisible = true;
        break;
    case UpdateStatus::Kind::downloading: {
        const double fraction = status.shownFraction();
        s.statusLine = QStringLiteral("Downloading\u2026 %1%").arg(int(std::trunc(fraction * 100)));
        s.primaryTitle = QStringLiteral("Downloading\u2026");
        s.laterVisible = true;
        s.mainEnabled = false;
        s.showsProgress = true;
        s.fraction = fraction;
        break;
    }
    case UpdateStatus::Kind::ready:
        s.statusLine = QStringLiteral("The disk image is in Downloads. Open it, drag Pavlet to Applications, then "
                                      "reopen from there.");
        s.primaryTitle = QStringLiteral("Open disk image");
        s.laterVisible = true;
        break;
    case UpdateStatus::Kind::failed:
        s.statusLine = status.message;
        s.primaryTitle = QStringLiteral("Try again");
        break;
    }
    return s;
}

UpdateCardModel::UpdateCardModel(UpdateService *updater, QObject *parent)
    : QObject(parent), m_updater(updater)
{
    if (m_updater) {
        connect(m_updater, &UpdateService::statusChanged, this, &UpdateCardModel::refresh);
        connect(m_updater, &UpdateService::latestChanged, this, &UpdateCardModel::refresh);
    }
    refresh();
}

QString UpdateCardModel::versionText() const
{
    return QStringLiteral("v") + (m_updater ? m_updater->currentVersion() : UpdateService::FallbackVersion);
}

void UpdateCardModel::refresh()
{
    const UpdateCardState next = m_updater
        ? UpdateCardState::make(m_updater->status(), m_updater->latest(), m_updater->host())
        : UpdateCardState::make(UpdateStatus::idle(), std::nullopt, UpdateService::UpdateHost);
    if (next == m_state)
        return;
    m_state = next;
    emit stateChanged();
}

void UpdateCardModel::runMain()
{
    if (m_updater && m_state.mainEnabled)
        m_updater->downloadOrOpen();
}

void UpdateCardModel::later()
{
    if (m_updater)
        m_updater->dismiss();
}

QString UpdateCardModel::footerText(const QString &applicationVersion)
{
    return QStringLiteral("Version ") + (applicationVersion.isEmpty() ? QStringLiteral("0.1") : applicationVersion);
}
