#include "platform/linux/desktopapplauncher.h"
#include "support/pavlettest.h"

#include <QDir>
#include <QFile>

namespace {

class AppLauncherTest : public PavletTest {
protected:
    void write(const QString &path, const QByteArray &content)
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    platform::DesktopAppLauncher launcher()
    {
        platform::DesktopAppLauncher::Options o;
        o.openUrl = [this](const QUrl &url) {
            urls << url;
            return true;
        };
        o.startProgram = [this](const QString &program, const QStringList &args) {
            started << (QStringList{program} + args);
            return true;
        };
        o.mimeappsDirs = {tempPath("config"), tempPath("data/applications")};
        o.dataDirs = {tempPath("data")};
        o.homePath = "/home/someone";
        return platform::DesktopAppLauncher(o);
    }
    QList<QUrl> urls;
    QList<QStringList> started;
};

TEST_F(AppLauncherTest, MapsFinderAndSafariToTheirLinuxCounterparts)
{
    write(tempPath("config/mimeapps.list"), "[Added Associations]\nx-scheme-handler/https=other.desktop;\n"
                                            "[Default Applications]\nx-scheme-handler/https=missing.desktop;web.desktop;\n");
    write(tempPath("data/applications/web.desktop"),
          "[Desktop Entry]\nType=Application\nName=Web\nExec=\"/opt/web browser/web\" --new-window %U\n"
          "[Desktop Action private]\nExec=/opt/web --private %U\n");
    auto l = launcher();
    EXPECT_TRUE(l.openApplication("com.apple.finder"));
    EXPECT_EQ(urls, QList<QUrl>{QUrl::fromLocalFile("/home/someone")});
    EXPECT_TRUE(l.openApplication("com.apple.Safari"));
    EXPECT_EQ(started, (QList<QStringList>{{"/opt/web browser/web", "--new-window"}}));
    EXPECT_FALSE(l.openApplication("com.apple.findmy"));
    EXPECT_FALSE(l.openApplication("com.example.unknown"));
    EXPECT_EQ(urls.size(), 1);
}

} // namespace
