#include "services/systemactions.h"

#include "core/clock.h"
#include "platform/applauncher.h"
#include "platform/clipboard.h"
#include "platform/screengrabber.h"

#include <QRandomGenerator>
#include <QUrl>

void takeScreenshotToClipboard(platform::IScreenGrabber *grabber, platform::IClipboard *clipboard)
{
    const QImage shot = grabber->grabScreen();
    if (shot.isNull())
        return;
    clipboard->setImage(shot);
}

QString generatePassword()
{
    // The system's secure generator, drawn without bias over the alphabet.
    QString password;
    password.reserve(16);
    for (int i = 0; i < 16; ++i)
        password.append(PasswordAlphabet.at(int(QRandomGenerator::system()->bounded(quint32(PasswordAlphabet.size())))));
    return password;
}

void openApp(const QString &bundleIdentifier, platform::IAppLauncher *launcher)
{
    launcher->openApplication(bundleIdentifier);
}

void openFindMy(platform::IAppLauncher *launcher)
{
    if (!launcher->openApplication(QStringLiteral("com.apple.findmy")))
        launcher->openUrl(QUrl(QStringLiteral("findmy://")));
}

QString quoteOfTheDay(Clock *clock)
{
    static const char *const sayings[12] = {
        "Small steps still move you.",
        "Protect the next hour.",
        "Done is better than perfect.",
        "Leave it better than you found it.",
        "One thing at a time.",
        "Quiet is also progress.",
        "Start before you feel ready.",
        "Your future self is watching.",
        "Make the next five minutes count.",
        "Rest is part of the work.",
        "Curiosity beats panic.",
        "Keep the promises you make to yourself.",
    };
    const QDateTime now = clock->now();
    int day = now.date().dayOfYear();
    if (day <= 0)
        day = 1;
    return QString::fromUtf8(sayings[day % 12]);
}
