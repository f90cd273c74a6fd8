#include "journey.h"

#include "core/userdefaults.h"
#include "island/notchviewmodel.h"
#include "support/patience.h"
#include "support/silentclipboardowner.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QQuickItem>
#include <QStandardPaths>
#include <QTimer>
#include <gtest/gtest.h>
#include <list>

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

namespace {

// Another program copies the bytes (or selects them), as xclip does; true
// once it holds them.
bool copyElsewhere(const QByteArray &bytes, const QString &selection = QStringLiteral("clipboard"))
{
    QProcess xclip;
    xclip.start(QStringLiteral("xclip"), {QStringLiteral("-selection"), selection, QStringLiteral("-i")});
    if (!xclip.waitForStarted())
        return false;
    xclip.write(bytes);
    xclip.closeWriteChannel();
    // A child of xclip's stays behind, holding the clipboard until the next
    // copy.
    return xclip.waitForFinished(30000) && xclip.exitCode() == 0;
}

// What another program pastes; the island serves it meanwhile.
QByteArray pasteElsewhere(Journey &j)
{
    QProcess xclip;
    xclip.start(QStringLiteral("xclip"), {QStringLiteral("-selection"), QStringLiteral("clipboard"), QStringLiteral("-o")});
    QByteArray out;
    QObject::connect(&xclip, &QProcess::readyReadStandardOutput, [&] { out += xclip.readAllStandardOutput(); });
    j.waitFor([&] { return xclip.state() == QProcess::NotRunning; }, 30000, "another program to paste");
    out += xclip.readAllStandardOutput();
    return out;
}

// The copy button of the Clipboard card's row whose preview starts so.
QQuickItem *copyButton(Journey &j, const QString &preview)
{
    return j.item("IslandIconButton", [&](QQuickItem *button) {
        if (button->property("help").toString() != QLatin1String("Copy") || !button->parentItem())
            return false;
        const QList<QQuickItem *> row = button->parentItem()->childItems();
        return std::any_of(row.begin(), row.end(), [&](QQuickItem *i) { return i->property("text").toString().startsWith(preview); });
    });
}

// The Scratch pad's field, and what it holds.
QQuickItem *pad(Journey &j)
{
    return j.item("QQuickTextArea", [](QQuickItem *i) { return i->property("placeholderText") == "Type a thought"; });
}

QByteArray padText(Journey &j)
{
    return pad(j) ? pad(j)->property("text").toString().toUtf8() : QByteArray();
}

} // namespace

// What another program copied comes back from the Clipboard card byte for
// byte: indented code with its white space, and a text of 5 MB. Pasted into
// the Scratch pad, the 5 MB text is refused, the code goes in, and with
// owners that never answer the paste (Ctrl+V, the middle button) the island
// goes on answering and the pad says so.
TEST(ClipboardCard, PickingAnEntryGivesBackExactlyWhatWasCopied)
{
    if (QStandardPaths::findExecutable(QStringLiteral("xclip")).isEmpty())
        GTEST_SKIP() << "xclip is not installed";
    Journey j(only("clipboard,notes"));
    ASSERT_TRUE(j.start());
    const QByteArray code = "    indented code\n\tline2\n";
    QByteArray big = "  ";
    for (int i = 0; big.size() < 5 * 1024 * 1024; ++i)
        big += "line " + QByteArray::number(i) + " of a long log, with \xc3\xa9t\xc3\xa9 in it\n";
    big += " \n";
    // The island's event loop turns all the while a paste is read.
    std::list<SilentClipboardOwner> silent;
    qint64 longestTurn = 0;
    QElapsedTimer sinceTurn;
    QTimer turns;
    QObject::connect(&turns, &QTimer::timeout, [&] { longestTurn = std::max(longestTurn, sinceTurn.restart()); });
    const auto watch = [&] {
        longestTurn = 0;
        sinceTurn.start();
        turns.start(10);
    };
    const auto answersAndSays = [&](Journey &j) {
        EXPECT_TRUE(j.waitFor([&] { return j.text("Couldn't read the clipboard"); }, 30000, "the pad to say so"));
        turns.stop();
        EXPECT_LT(longestTurn, Patience::deadline(250)) << "the island stood still";
        EXPECT_EQ(padText(j), code + "selected");
    };
    auto holds = [](Journey &j, int entries) {
        return j.waitFor([&] { return j.island().clipboard().items.size() == entries; }, 15000,
                         "the Clipboard card to take the copy");
    };
    walk(j, {
        {"copy indented code in another program", [&](Journey &) { ASSERT_TRUE(copyElsewhere(code)); },
         [&](Journey &j) { EXPECT_TRUE(holds(j, 1)); }},
        {"copy 5 MB of text in another program", [&](Journey &) { ASSERT_TRUE(copyElsewhere(big)); },
         [&](Journey &j) { EXPECT_TRUE(holds(j, 2)); }},
        {"open Home", [](Journey &j) { ASSERT_TRUE(j.openHome()); },
         [](Journey &j) { EXPECT_TRUE(copyButton(j, "indented code \tline2")); }},
        {"pick the indented code", [](Journey &j) { j.click(copyButton(j, "indented code \tline2")); },
         [&](Journey &j) { EXPECT_EQ(pasteElsewhere(j), code); }},
        {"pick the 5 MB text", [&](Journey &j) { j.click(copyButton(j, "line 0 of a long log")); },
         [&](Journey &j) {
             const QByteArray pasted = pasteElsewhere(j);
             EXPECT_EQ(pasted.size(), big.size());
             EXPECT_TRUE(pasted == big);
         }},
        {"Ctrl+V of the 5 MB text in the Scratch pad", [&](Journey &j) {
             j.click(pad(j));
             j.hands().key("v", false, true);
         },
         [&](Journey &j) {
             EXPECT_TRUE(j.waitFor([&] { return j.text("Clipboard text is too large"); }, 5000, "the pad to say so"));
             EXPECT_EQ(pad(j)->property("text").toString(), QString());
         }},
        {"pick the code, Shift+Insert it, middle-click a selection after it", [&](Journey &j) {
             j.click(copyButton(j, "indented code \tline2"));
             j.click(pad(j));
             j.hands().key("Insert", true);
             ASSERT_TRUE(j.waitFor([&] { return padText(j) == code; }, 5000, "the code in the pad"));
             ASSERT_TRUE(copyElsewhere("selected", "primary"));
             j.hands().click(j.screenPoint(pad(j), {pad(j)->width() - 2, pad(j)->height() - 2}), 2);
         },
         [&](Journey &j) { EXPECT_TRUE(j.waitFor([&] { return padText(j) == code + "selected"; }, 5000, "the selection")); }},
        {"Ctrl+V with an owner that never answers", [&](Journey &j) {
             silent.emplace_back("CLIPBOARD");
             watch();
             j.hands().key("v", false, true);
         },
         answersAndSays},
        {"middle-click with a selection whose owner never answers", [&](Journey &j) {
             ASSERT_TRUE(j.waitFor([&] { return !j.text("Couldn't read the clipboard"); }, 10000, "the word to go"));
             silent.emplace_back("PRIMARY");
             watch();
             j.hands().click(j.screenPoint(pad(j)), 2);
         },
         answersAndSays},
    });
}
