#include "island/notchviewmodel.h"

#include "platform/clipboard.h"
#include "services/clipboardstore.h"
#include "services/systemactions.h"

// The Home panel's quick actions.

void NotchViewModel::takeScreenshot()
{
    if (m_env.platform.screenGrabber && m_env.platform.clipboard)
        takeScreenshotToClipboard(m_env.platform.screenGrabber, m_env.platform.clipboard);
}

void NotchViewModel::openShortcutApp(const QString &bundleIdentifier)
{
    if (m_env.platform.appLauncher)
        openApp(bundleIdentifier, m_env.platform.appLauncher);
}

void NotchViewModel::generatePasswordToClipboard()
{
    setGeneratedPassword(generatePassword());
    auto *clipboard = m_env.platform.clipboard;
    if (!clipboard)
        return;
    clipboard->setText(m_generatedPassword);
    // Our own copy: the next poll must not take the password into the history.
    assign(m_clipboard, m_clipboardStore->skipOwnCopy(), &NotchViewModel::clipboardChanged);
}

QString NotchViewModel::quoteOfTheDay() const { return ::quoteOfTheDay(m_clock); }
