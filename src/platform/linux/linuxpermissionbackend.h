#pragma once

#include "platform/permissionbackend.h"

#include <memory>

class QGeoPositionInfoSource;

namespace platform {
class QtCamera;
}

namespace platform {

// What Linux gates, mapped onto the permission logic:
// - accessibility and automation: X11 and D-Bus need no trust, so allowed;
// - calendar and reminders: allowed while the local calendar data can be read;
// - camera: once the cameras have been counted, a camera Qt lists → allowed,
//   none listed but /dev/video* that all refuse to open → denied, else not
//   determined; before that, /dev/video* readable → allowed, present but
//   unreadable → denied, none → not determined. Asking counts them again;
// - location: QtPositioning's default source (geoclue on a desktop).
// Settings addresses open the desktop's settings application when one is
// installed.
class LinuxPermissionBackend final : public platform::IPermissionBackend {
    Q_OBJECT
public:
    // dataDir: the XDG data folder (for the calendar data); devDir: /dev.
    explicit LinuxPermissionBackend(const QString &dataDir = QString(), const QString &devDir = QStringLiteral("/dev"),
                                    QObject *parent = nullptr);
    ~LinuxPermissionBackend() override;

    // The camera whose list of cameras the camera permission follows.
    void setCamera(QtCamera *camera) { m_camera = camera; }

    bool accessibilityTrusted(bool prompt) override;
    CalendarAccess calendarAccess(bool events) override;
    void requestCalendarAccess(bool events, std::function<void(bool)> done) override;
    LocationAccess locationAccess() override;
    void requestLocationWhenInUse() override;
    CaptureAccess cameraAccess() override;
    void requestCameraAccess(std::function<void(bool)> done) override;
    AutomationAnswer automationAnswer(const QString &bundleId, bool askUser) override;
    bool openSettingsUrl(const QUrl &url) override;

private:
    QGeoPositionInfoSource *positionSource();

    QString m_dataDir;
    QString m_devDir;
    QtCamera *m_camera = nullptr;
    QGeoPositionInfoSource *m_position = nullptr;
    bool m_positionTried = false;
};

} // namespace platform
