#include "platform/linux/autostartloginitem.h"
#include "platform/linux/linuxpermissionbackend.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(AutostartLoginItemTest, WritesReadsAndRemovesTheEntry)
{
    QTemporaryDir home;
    platform::AutostartLoginItem item(home.path(), "/opt/pav let/pavlet");
    EXPECT_EQ(item.status(), platform::ILoginItem::Status::NotRegistered);
    QString error;
    ASSERT_TRUE(item.registerItem(&error)) << error.toStdString();
    EXPECT_EQ(item.entryPath(), home.path() + "/autostart/pavlet.desktop");
    EXPECT_EQ(item.status(), platform::ILoginItem::Status::Enabled);
    QFile f(item.entryPath());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray text = f.readAll();
    EXPECT_TRUE(text.startsWith("[Desktop Entry]\n"));
    EXPECT_TRUE(text.contains("Exec=\"/opt/pav let/pavlet\"\n"));
    EXPECT_TRUE(text.contains("Type=Application\n"));
    f.close();

    ASSERT_TRUE(item.unregisterItem(&error));
    EXPECT_FALSE(QFile::exists(item.entryPath()));
    EXPECT_TRUE(item.unregisterItem(&error)); // nothing left to remove
}

TEST(AutostartLoginItemTest, HiddenEntryCountsAsNotRegistered)
{
    QTemporaryDir home;
    QDir().mkpath(home.path() + "/autostart");
    QFile f(home.path() + "/autostart/pavlet.desktop");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[Desktop Entry]\nType=Application\nExec=pavlet\nHidden=true\n");
    f.close();
    EXPECT_EQ(platform::AutostartLoginItem(home.path()).status(), platform::ILoginItem::Status::NotRegistered);
}

TEST(LinuxPermissionBackendTest, CameraAndCalendarFollowTheFiles)
{
    QTemporaryDir data, dev;
    platform::LinuxPermissionBackend backend(data.path(), dev.path());
    using B = platform::IPermissionBackend;
    EXPECT_EQ(backend.cameraAccess(), B::CaptureAccess::NotDetermined);
    QFile cam(dev.path() + "/video0");
    ASSERT_TRUE(cam.open(QIODevice::WriteOnly));
    cam.close();
    EXPECT_EQ(backend.cameraAccess(), B::CaptureAccess::Authorized);

    EXPECT_EQ(backend.calendarAccess(true), B::CalendarAccess::FullAccess);
    EXPECT_TRUE(backend.accessibilityTrusted(false));
    EXPECT_EQ(backend.automationAnswer("com.apple.Music", false), B::AutomationAnswer::Allowed);
}
