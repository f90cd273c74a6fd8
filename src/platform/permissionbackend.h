#pragma once

#include <QObject>
#include <QString>
#include <QUrl>
#include <functional>

namespace platform {

// What the platform says about each privacy-protected capability, and how to
// ask for it. The answers mirror what the permission logic expects from a
// system that gates these capabilities; a platform that does not gate one
// simply answers "allowed".
class IPermissionBackend : public QObject {
    Q_OBJECT
public:
    enum class CalendarAccess { NotDetermined, Restricted, Denied, WriteOnly, FullAccess };
    enum class LocationAccess { NotDetermined, Restricted, Denied, AuthorizedAlways, AuthorizedWhenInUse };
    enum class CaptureAccess { NotDetermined, Restricted, Denied, Authorized };
    enum class AutomationAnswer { Allowed, NotPermitted, WouldRequireConsent, TargetNotRunning, OtherError };

    using QObject::QObject;

    // Accessibility trust; prompt asks the system to show its dialog.
    virtual bool accessibilityTrusted(bool prompt) = 0;

    // Calendar events (events = true) or reminders (false).
    virtual CalendarAccess calendarAccess(bool events) = 0;
    virtual void requestCalendarAccess(bool events, std::function<void(bool granted)> done) = 0;

    virtual LocationAccess locationAccess() = 0;
    // Asks for when-in-use access; the answer comes through locationAccessChanged.
    virtual void requestLocationWhenInUse() = 0;

    virtual CaptureAccess cameraAccess() = 0;
    virtual void requestCameraAccess(std::function<void(bool granted)> done) = 0;

    // May this process drive the application with the given identifier?
    // askUser lets the system ask (it may block, so call it off the main thread).
    virtual AutomationAnswer automationAnswer(const QString &bundleId, bool askUser) = 0;

    // Opens a settings address; false when nothing could be opened.
    virtual bool openSettingsUrl(const QUrl &url) = 0;

signals:
    // The calendar store reports a change (access, sources, data).
    void calendarStoreChanged();
    void locationAccessChanged(IPermissionBackend::LocationAccess access);
};

} // namespace platform
