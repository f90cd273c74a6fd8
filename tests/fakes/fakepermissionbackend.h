#pragma once

#include "platform/loginitem.h"
#include "platform/permissionbackend.h"

#include <QHash>
#include <QList>
#include <QTimer>
#include <QUrl>

// Answers set by the test; requests are answered on the next turn of the
// event loop, or held until the test releases them.
class FakePermissionBackend final : public platform::IPermissionBackend {
    Q_OBJECT
public:
    bool accessibilityTrusted(bool prompt) override
    {
        if (prompt)
            ++accessibilityPrompts;
        ++accessibilityTests;
        if (trustAfterTests > 0 && accessibilityTests >= trustAfterTests)
            trusted = true;
        return trusted;
    }
    CalendarAccess calendarAccess(bool events) override { return events ? calendar : reminders; }
    void requestCalendarAccess(bool events, std::function<void(bool)> done) override
    {
        if (events && calendarRequestGrants)
            calendar = CalendarAccess::FullAccess;
        const bool granted = calendarRequestGrants;
        QTimer::singleShot(0, this, [done, granted] { done(granted); });
    }
    LocationAccess locationAccess() override
    {
        ++locationQueries;
        return location;
    }
    void requestLocationWhenInUse() override { ++locationRequests; }
    CaptureAccess cameraAccess() override { return camera; }
    void requestCameraAccess(std::function<void(bool)> done) override
    {
        const bool granted = camera == CaptureAccess::Authorized;
        QTimer::singleShot(0, this, [done, granted] { done(granted); });
    }
    AutomationAnswer automationAnswer(const QString &bundleId, bool) override
    {
        return automation.value(bundleId, AutomationAnswer::TargetNotRunning);
    }
    bool openSettingsUrl(const QUrl &url) override
    {
        openedUrls << url;
        return openSucceeds;
    }

    void answerLocation(LocationAccess access)
    {
        location = access;
        emit locationAccessChanged(access);
    }
    void announceCalendarChange() { emit calendarStoreChanged(); }

    bool trusted = false;
    int trustAfterTests = 0;
    int accessibilityTests = 0;
    int accessibilityPrompts = 0;
    CalendarAccess calendar = CalendarAccess::NotDetermined;
    CalendarAccess reminders = CalendarAccess::NotDetermined;
    bool calendarRequestGrants = false;
    LocationAccess location = LocationAccess::NotDetermined;
    int locationQueries = 0;
    int locationRequests = 0;
    CaptureAccess camera = CaptureAccess::NotDetermined;
    QHash<QString, AutomationAnswer> automation;
    QList<QUrl> openedUrls;
    bool openSucceeds = true;
};

class FakeLoginItem final : public platform::ILoginItem {
public:
    Status status() const override { return current; }
    bool registerItem(QString *error) override
    {
        ++registers;
        if (!failWith.isEmpty()) {
            *error = failWith;
            return false;
        }
        current = Status::Enabled;
        return true;
    }
    bool unregisterItem(QString *error) override
    {
        ++unregisters;
        if (!failWith.isEmpty()) {
            *error = failWith;
            return false;
        }
        current = Status::NotRegistered;
        return true;
    }

    Status current = Status::NotRegistered;
    QString failWith;
    int registers = 0;
    int unregisters = 0;
};
