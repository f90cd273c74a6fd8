#pragma once

#include <QString>

class Clock;
namespace platform {
class IAppLauncher;
class IClipboard;
class IScreenGrabber;
}

// Small actions behind the quick-action and daily-line cards. Each takes the
// platform parts it works with.

// Grabs the whole screen and puts it on the clipboard as an image.
void takeScreenshotToClipboard(platform::IScreenGrabber *grabber, platform::IClipboard *clipboard);
// 16 characters from an alphabet without look-alikes (no l, I, O, 0 or 1).
QString generatePassword();
// Starts an application by bundle identifier; nothing when it is not here.
void openApp(const QString &bundleIdentifier, platform::IAppLauncher *launcher);
// Find My, else the "findmy://" address.
void openFindMy(platform::IAppLauncher *launcher);
// One of twelve sayings, chosen by the day of the year.
QString quoteOfTheDay(Clock *clock);

inline const QString PasswordAlphabet = QStringLiteral("abcdefghijkmnopqrstuvwxyzABCDEFGHJKLMNPQRSTUVWXYZ23456789");
