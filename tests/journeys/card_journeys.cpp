#include "journey.h"

#include "core/userdefaults.h"
#include "island/notchviewmodel.h"

#include <QQuickItem>
#include <gtest/gtest.h>

namespace {

// Only these modules' cards on Home.
JourneySetup only(const QString &cards)
{
    static const QStringList all = {"player", "timer", "clocks", "weather", "calendar", "system", "network",
                                    "clipboard", "notes", "shortcuts", "awake", "quote", "bluetooth", "eyeStrain",
                                    "speedTest", "youtube", "spotify", "compress", "micCheck"};
    QStringList hidden;
    for (const QString &id : all) {
        if (!cards.split(',').contains(id))
            hidden << id;
    }
    JourneySetup setup;
    setup.prepare = [hidden](UserDefaults &d) { d.setString("disabledModules", hidden.join(',')); };
    return setup;
}

QStringList menuTexts(Journey &j)
{
    QList<QQuickItem *> entries = j.items("QQuickMenuItem", [](QQuickItem *i) { return i->isVisible(); });
    QList<QQuickItem *> separators = j.items("QQuickMenuSeparator", [](QQuickItem *i) { return i->isVisible(); });
    entries += separators;
    std::sort(entries.begin(), entries.end(), [&](QQuickItem *a, QQuickItem *b) {
        return j.screenPoint(a).y() < j.screenPoint(b).y();
    });
    QStringList texts;
    for (QQuickItem *e : entries)
        texts << (e->inherits("QQuickMenuSeparator") ? QStringLiteral("—") : e->property("text").toString());
    return texts;
}

QQuickItem *field(Journey &j, const QString &placeholder)
{
    return j.item("QQuickTextField", [&](QQuickItem *i) { return i->property("placeholderText").toString() == placeholder; });
}

} // namespace

// The YouTube card: a link typed whole into its field, the Save menu's
// formats in order.
TEST(MediaDownloadCard, TypedLinkAndTheSaveMenu)
{
    Journey j(only("youtube"));
    ASSERT_TRUE(j.start());
    const QString link = "https://youtu.be/abc123";
    walk(j, {
        {"open Home", [](Journey &j) { ASSERT_TRUE(j.openHome()); }},
        {"click the link field", [](Journey &j) { j.click(field(j, "Paste a YouTube link")); }},
        {"type a link", [&](Journey &j) { j.hands().type(link); },
         [&](Journey &j) { EXPECT_EQ(j.focusedText(), link); }},
        {"open the Save menu", [](Journey &j) { j.click(j.text("Save")); },
         [](Journey &j) {
             EXPECT_EQ(menuTexts(j), QStringList({"MP4", "MP3", "MOV", "—", "How it works"}));
         }},
        {"close the menu with a click on the field", [](Journey &j) { j.click(field(j, "Paste a YouTube link")); },
         [](Journey &j) { EXPECT_TRUE(menuTexts(j).isEmpty()); }},
        {"close and reopen: the link stays", [&](Journey &j) {
             ASSERT_TRUE(j.collapse());
             ASSERT_TRUE(j.openHome());
         },
         [&](Journey &j) {
             QQuickItem *f = field(j, "Paste a YouTube link");
             ASSERT_TRUE(f);
             EXPECT_EQ(f->property("text").toString(), link);
         }},
    });
}

// The speed test against a server that answers every request: it runs, and
// closing the island in the middle leaves nothing broken.
TEST(SpeedTestCard, RunsAndSurvivesACollapse)
{
    Journey j(only("speedTest"));
    j.web().setHandler([](const LocalHttpServer::Request &, LocalHttpServer::Reply &reply) {
        reply = LocalHttpServer::Reply();
        reply.contentType = "application/octet-stream";
        reply.body = QByteArray(64 * 1024, 'x');
        return true;
    });
    ASSERT_TRUE(j.start());
    walk(j, {
        {"open Home", [](Journey &j) { ASSERT_TRUE(j.openHome()); }},
        {"start the test", [](Journey &j) { j.click(j.text("Run")); },
         [](Journey &j) { EXPECT_TRUE(j.waitFor([&] { return j.web().requestCount() > 0; }, 5000)); }},
        {"close the island while it measures", [](Journey &j) { ASSERT_TRUE(j.collapse()); }},
        {"open Home again", [](Journey &j) { ASSERT_TRUE(j.openHome()); }},
    });
}
