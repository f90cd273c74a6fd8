#include "platform/linux/qtclipboard.h"
#include "platform/linux/x11clipboardreader.h"
#include "services/clipboardstore.h"
#include "support/patience.h"
#include "support/pavlettest.h"
#include "support/silentclipboardowner.h"

#include <QClipboard>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QMimeData>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <list>

// A 5 MB text comes whole; a 64 MB one is not kept and the event loop goes on
// turning while it is read, also when its owner is killed mid-transfer or
// never answers.
TEST(X11ClipboardTest, AHugeTextNeitherBlocksNorFillsMemory)
{
    if (QStandardPaths::findExecutable("xclip").isEmpty())
        GTEST_SKIP() << "xclip is not installed";
    QTemporaryDir dir;
    platform::QtClipboard clipboard;
    ClipboardStore store(&clipboard);
    // What every Qt Quick text field does on a change, to say whether it can paste.
    QObject::connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, &clipboard,
                     [] { QGuiApplication::clipboard()->mimeData()->hasText(); });
    // xclip in the foreground holds the file's text until the next takes over.
    std::unique_ptr<QProcess> owner;
    const auto write = [&](const QString &name, const QByteArray &piece, int pieces) {
        QFile file(dir.filePath(name));
        for (bool ok = file.open(QIODevice::WriteOnly); ok && pieces-- > 0;)
            ok = file.write(piece) == piece.size();
        return file.fileName();
    };
    const auto takeOver = [&](const QString &file) {
        const int before = clipboard.changeCount();
        auto next = std::make_unique<QProcess>();
        next->start("xclip", {"-quiet", "-selection", "clipboard", "-i", file});
        const bool took = Patience::until([&] {
            return clipboard.readState() == platform::IClipboard::ReadState::reading || clipboard.changeCount() > before;
        }, 5000);
        if (owner)
            owner->waitForFinished(); // it ends on losing the clipboard
        owner = std::move(next);
        return took;
    };
    const auto peakMB = [] {
        QFile status("/proc/self/status");
        status.open(QIODevice::ReadOnly);
        const QByteArray all = status.readAll();
        return all.mid(all.indexOf("VmHWM:") + 6).trimmed().split(' ').value(0).toLongLong() / 1024;
    };
    // A text of 5 MB comes whole, in pieces as the huge one does.
    ASSERT_TRUE(takeOver(write("before", QByteArray("a b\n").repeated(256 * 1024), 5)));
    // Taking it into the history looks at no more than its start.
    QElapsedTimer polling;
    qint64 longestPoll = 0;
    ASSERT_TRUE(Patience::until([&] {
        polling.start();
        const bool taken = store.poll().items.value(0).text.size() == 5 * 1024 * 1024;
        longestPoll = std::max(longestPoll, polling.elapsed());
        return taken;
    }, 9000));
    EXPECT_LT(longestPoll, Patience::deadline(50)) << "the history held the event loop up";

    qint64 longestTurn = 0;
    QElapsedTimer sinceTurn;
    QTimer turns;
    QObject::connect(&turns, &QTimer::timeout, [&] { longestTurn = std::max(longestTurn, sinceTurn.restart()); });
    const QString huge = write("huge", QByteArray(1024 * 1024, 'x'), 64);
    const qint64 peakBefore = peakMB();
    for (const bool killed : {false, true}) {
        const int changes = clipboard.changeCount();
        longestTurn = 0;
        sinceTurn.start();
        turns.start(5);
        ASSERT_TRUE(takeOver(huge));
        if (killed) {
            waitUntil([] { return false; }, 150); // the transfer is under way
            owner->kill();
        }
        ASSERT_TRUE(Patience::until([&] { return clipboard.changeCount() > changes; }, 30000)) << killed;
        turns.stop();
        EXPECT_LT(longestTurn, Patience::deadline(250)) << "the event loop stood still; owner killed: " << killed;
        EXPECT_FALSE(clipboard.text()) << killed;
        EXPECT_TRUE(killed || clipboard.textTooLarge());
        EXPECT_EQ(store.poll().items.size(), 1);
    }
    // An owner that never answers: the read gives up, said as a failed one.
    {
        const int changes = clipboard.changeCount();
        longestTurn = 0;
        sinceTurn.start();
        turns.start(5);
        SilentClipboardOwner silent;
        ASSERT_TRUE(Patience::until([&] { return clipboard.changeCount() > changes; }, 30000));
        turns.stop();
        EXPECT_LT(longestTurn, Patience::deadline(250)) << "the event loop stood still on a silent owner";
        EXPECT_EQ(clipboard.readState(), platform::IClipboard::ReadState::failed);
    }
    EXPECT_LT(peakMB() - peakBefore, 2 * platform::X11ClipboardReader::MaxBytes / (1024 * 1024));
    owner->kill();
    owner->waitForFinished();
}

// Fifty copies in quick succession, every tenth first taken by an owner that
// never answers: each newer copy overtakes the read under way, and the
// history ends on the last.
TEST(X11ClipboardTest, EndsOnTheLastOfManyQuickCopies)
{
    platform::QtClipboard clipboard;
    ClipboardStore store(&clipboard);
    std::list<SilentClipboardOwner> silent;
    for (int i = 1; i <= 50; ++i) {
        if (i % 10 == 0)
            silent.emplace_back();
        QProcess xclip; // its child holds the copy until the next takes over
        xclip.start("xclip", {"-selection", "clipboard", "-i"});
        xclip.write("rapid " + QByteArray::number(i));
        xclip.closeWriteChannel();
        ASSERT_TRUE(xclip.waitForFinished());
        waitUntil([] { return false; }, 40 * (i % 4));
    }
    EXPECT_TRUE(Patience::until([&] { return store.poll().items.value(0).text == "rapid 50"; }, 10000))
        << store.poll().items.value(0).text.toStdString();
}
