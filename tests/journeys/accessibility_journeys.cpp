#include "journey.h"

#include "app/appdelegate.h"
#include "app/compositionroot.h"
#include "island/notchviewmodel.h"
#include "settings/settingsnavigation.h"
#include "tools/calculatorengine.h"

#include <QCoreApplication>
#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

// What a screen reader gets from the program now, through the accessibility
// bus (accessibletree.py, a process of its own while this one answers it).
QStringList screenReader(Journey &j, const QStringList &args)
{
    QProcess reader;
    reader.start(QStringLiteral("/usr/bin/python3"),
                 QStringList{QStringLiteral(PAVLET_JOURNEY_DIR "/accessibletree.py"),
                             QString::number(QCoreApplication::applicationPid())} + args);
    if (!j.waitFor([&] { return reader.state() == QProcess::NotRunning; }, 30000, "the screen reader"))
        reader.kill();
    reader.waitForFinished();
    return QString::fromUtf8(reader.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
}

// Every shown control has a name, and the texts given are read out.
void heard(Journey &j, const char *where, const QStringList &texts = {})
{
    const QStringList lines = screenReader(j, {QStringLiteral("walk")});
    ASSERT_FALSE(lines.isEmpty() || lines.first() == "no application") << where << ": nothing on the bus";
    EXPECT_EQ(lines.filter(QRegularExpression("^unnamed\t")), QStringList{}) << where;
    for (const QString &text : texts)
        EXPECT_FALSE(lines.filter(QRegularExpression("\t" + QRegularExpression::escape(text) + "$")).isEmpty())
            << where << " does not read \"" << text.toStdString() << "\"";
}

void press(Journey &j, const QString &name)
{
    EXPECT_EQ(screenReader(j, {QStringLiteral("press"), name}), QStringList{"pressed"}) << name.toStdString();
}

} // namespace

// A screen reader over the island, Home with every module, a tool, the games
// list and every settings page: each control named, the texts read out, and a
// control's own action doing what its click does. Runs only in a session with
// an accessibility bus (session.sh --a11y).
TEST(Accessibility, EveryControlNamedAndPressable)
{
    ASSERT_FALSE(qEnvironmentVariableIsEmpty("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"))
        << "run through session.sh --a11y, which starts the accessibility bus";
    Journey j({.everyModule = true});
    ASSERT_TRUE(j.start());
    walk(j, {
        {"the island at rest", [](Journey &j) { heard(j, "the island"); }},
        {"Home", [](Journey &j) { ASSERT_TRUE(j.openHome()); },
         [](Journey &j) { heard(j, "Home", {"Settings", "Play", "One minute more", "25:00", "Notes"}); }},
        {"the calculator's 7, pressed by its action",
         [](Journey &j) {
             ASSERT_TRUE(j.openFromStrip("Calculator"));
             heard(j, "the calculator", {"7", "Delete"});
             press(j, "7");
         },
         [](Journey &j) {
             EXPECT_TRUE(j.waitFor([&] { return j.island().calculator()->display() == "7"; }, 2000, "7 shown"));
         }},
        {"the games list", [](Journey &j) { ASSERT_TRUE(j.collapse() && j.openFromStrip("Games")); },
         [](Journey &j) { heard(j, "the games"); }},
        {"every settings page, chosen by its tab's action",
         [](Journey &j) {
             j.root().delegate().openSettings();
             ASSERT_TRUE(j.waitFor([&] { return j.settingsWindow() && j.settingsWindow()->isExposed(); }, 10000,
                                   "the settings window"));
             QStringList tabs = screenReader(j, {QStringLiteral("walk")}).filter(QRegularExpression("^page tab\t"));
             ASSERT_GE(tabs.size(), 5) << tabs.join(", ").toStdString();
             for (QString &tab : tabs) {
                 tab = tab.section('\t', 1);
                 press(j, tab);
                 const auto chosen = [&] {
                     return !j.itemsIn(j.settingsWindow(), "QQuickItem", [&](QQuickItem *i) {
                                  return i->objectName().startsWith("sidebar-") && i->property("selected").toBool()
                                         && i->property("modelData").value<SettingsPageInfo>().title == tab;
                              }).isEmpty();
                 };
                 EXPECT_TRUE(j.waitFor(chosen, 3000, tab)) << tab.toStdString();
                 heard(j, tab.toUtf8().constData());
             }
         }},
    });
}
