#include "update/updateviews.h"

#include "update/updateservice.h"

#include <algorithm>
#include <cmath>

UpdatePanelTexts UpdatePanelTexts::make(const UpdateStatus &status, const std::optional<UpdateManifest> &latest,
                                        const QString &currentVersion, const QString &host)
{
    using Kind = UpdateStatus::Kind;
    UpdatePanelTexts t;
    const QString elsewhere = QStringLiteral("A newer Pavlet is on ") + host;
    switch (status.kind) {
    case Kind::downloading: {
        const double fraction = status.shownFraction();
        t.title = QStringLiteral("Downloading Pavlet");
        t.subtitle = QString::number(qint64(std::floor(fraction * 100))) + QStringLiteral("%");
        t.primaryTitle = QStringLiteral("Downloading…");
        t.showsProgress = true;
        t.progress = fraction;
        break;
    }
    case Kind::ready:
        t.title = QStringLiteral("Disk image is ready");
        t.subtitle = QStringLiteral("Drag it to Applications, then open Pavlet");
        t.primaryTitle = QStringLiteral("Open disk image");
        break;
    case Kind::failed:
        t.title = status.message;
        t.subtitle = elsewhere;
        t.primaryTitle = QStringLiteral("Try again");
        break;
    case Kind::available:
        t.title = latest ? QStringLiteral("Pavlet ") + latest->version + QStringLiteral(" is ready")
                         : QStringLiteral("A newer Pavlet is ready");
        t.subtitle = QStringLiteral("You're on v") + currentVersion;
        t.primaryTitle = QStringLiteral("Download");
        break;
    case Kind::idle:
    case Kind::checking:
    case Kind::upToDate:
        t.title = QStringLiteral("Pavlet update");
        t.subtitle = elsewhere;
        t.primaryTitle = QStringLiteral("Download");
        t.primaryEnabled = status.kind != Kind::checking;
        break;
    }
    if (status.kind == Kind::ready)
        t.detail = QStringLiteral(
            "The disk image is in Downloads. Open it, drag Pavlet to Applications, then reopen from there.");
    else if (latest)
        t.detail = latest->notes;
    return t;
}

UpdatePanelTexts UpdateViews::texts(UpdateService *service, const UpdateStatus &status,
                                    const UpdateManifest &latest, bool hasLatest) const
{
    if (!service)
        return {};
    return UpdatePanelTexts::make(status, hasLatest ? std::optional<UpdateManifest>(latest) : std::nullopt,
                                  service->currentVersion(), service->host());
}
