#include "platform/linux/linuxpermissionbackend.h"

#include "platform/linux/qtcamera.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QGeoPositionInfoSource>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>

namespace platform {

LinuxPermissionBackend::LinuxPermissionBackend(const QString &dataDir, const QString &devDir, QObject *parent)
    : platform::IPermissionBackend(parent),
      m_dataDir(dataDir.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) : dataDir),
      m_devDir(devDir)
{
}

LinuxPermissionBackend::~LinuxPermissionBackend() = default;

bool LinuxPermissionBackend::accessibilityTrusted(bool)
{
    return true;
}

platform::IPermissionBackend::CalendarAccess LinuxPermissionBackend::calendarAccess(bool events)
{
    const QFileInfo dir(m_dataDir + (events ? QStringLiteral("/evolution/calendar") : QStringLiteral("/evolution/tasks")));
    if (dir.exists() && !(dir.isReadable() && dir.isExecutable()))
        return CalendarAccess::Denied;
    return CalendarAccess::FullAccess;
}

void LinuxPermissionBackend::requestCalendarAccess(bool events, std::function<void(bool)> done)
{
    const bool granted = calendarAccess(events) == CalendarAccess::FullAccess;
    QTimer::singleShot(0, this, [done, granted] { done(granted); });
}

QGeoPositionInfoSource *LinuxPermissionBackend::positionSource()
{
    if (!m_positionTried) {
        m_positionTried = true;
        m_position = QGeoPositionInfoSource::createDefaultSource(this);
        if (m_position) {
            connect(m_position, &QGeoPositionInfoSource::errorOccurred, this, [this](QGeoPositionInfoSource::Error e) {
                if (e == QGeoPositionInfoSource::AccessError)
                    emit locationAccessChanged(LocationAccess::Denied);
            });
        }
    }
    return m_position;
}

platform::IPermissionBackend::LocationAccess LinuxPermissionBackend::locationAccess()
{
    QGeoPositionInfoSource *source = positionSource();
    if (!source)
        return LocationAccess::NotDetermined;
    if (source->error() == QGeoPositionInfoSource::AccessError)
        return LocationAccess::Denied;
    return LocationAccess::AuthorizedWhenInUse;
}

void LinuxPermissionBackend::requestLocationWhenInUse()
{
    // There is no dialog to show: answer with what the source says.
    const LocationAccess access = locationAccess();
    QTimer::singleShot(0, this, [this, access] { emit locationAccessChanged(access); });
}

namespace {

IPermissionBackend::CaptureAccess fromCamera(ICamera::Access access)
{
    switch (access) {
    case ICamera::Access::Granted: return IPermissionBackend::CaptureAccess::Authorized;
    case ICamera::Access::Refused: return IPermissionBackend::CaptureAccess::Denied;
    case ICamera::Access::NoDevice: break;
    }
    return IPermissionBackend::CaptureAccess::NotDetermined;
}

} // namespace

platform::IPermissionBackend::CaptureAccess LinuxPermissionBackend::cameraAccess()
{
    // Listing the cameras can wait on the media server, so this answers from
    // the last count and never counts itself.
    const std::optional<int> listed = m_camera ? m_camera->knownCameraCount() : std::nullopt;
    if (listed)
        return fromCamera(QtCamera::accessFrom(*listed, QtCamera::deviceNodes(m_devDir)));
    const QFileInfoList devices = QDir(m_devDir).entryInfoList({QStringLiteral("video*")}, QDir::System | QDir::Files);
    if (devices.isEmpty())
        return CaptureAccess::NotDetermined;
    for (const QFileInfo &device : devices) {
        if (device.isReadable())
            return CaptureAccess::Authorized;
    }
    return CaptureAccess::Denied;
}

void LinuxPermissionBackend::requestCameraAccess(std::function<void(bool)> done)
{
    if (m_camera) {
        const QString devDir = m_devDir;
        m_camera->countCameras(this, [done, devDir](int listed) {
            done(QtCamera::accessFrom(listed, QtCamera::deviceNodes(devDir)) == ICamera::Access::Granted);
        });
        return;
    }
    const bool granted = cameraAccess() == CaptureAccess::Authorized;
    QTimer::singleShot(0, this, [done, granted] { done(granted); });
}

platform::IPermissionBackend::AutomationAnswer LinuxPermissionBackend::automationAnswer(const QString &, bool)
{
    return AutomationAnswer::Allowed;
}

bool LinuxPermissionBackend::openSettingsUrl(const QUrl &url)
{
    if (url.scheme() != QLatin1String("x-apple.systempreferences"))
        return QDesktopServices::openUrl(url);
    // The privacy panes have no Linux address; open the desktop's settings.
    static const char *const apps[] = {"gnome-control-center", "systemsettings", "xfce4-settings-manager",
                                       "cinnamon-settings", "mate-control-center", "lxqt-config"};
    for (const char *app : apps) {
        const QString path = QStandardPaths::findExecutable(QString::fromLatin1(app));
        if (!path.isEmpty())
            return QProcess::startDetached(path, {});
    }
    return false;
}

} // namespace platform
