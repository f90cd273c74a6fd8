#include "platform/linux/qtclipboard.h"
#include "platform/linux/x11clipboardreader.h"
#include "services/clipboardstore.h"
#include "support/patience.h"
#include "support/pavlettest.h"

#include <QClipboard>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

namespace {

// The peak of this process's resident memory so far, in MB.
qint64 peakMemoryMB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong() / 1024;
    }
    return -1;
}

// Another program owns the clipboard with the file's text, in the
// foreground, so that the test can end it.
std::unique_ptr<QProcess> ownClipboard(const QString &file)
{
    auto xclip = std::make_unique<QProcess>();
    xclip->setStandardOutputFile(QProcess::nullDevice());
    xclip->setStandardErrorFile(QProcess::nullDevice());
    xclip->start(QStringLiteral("xclip"), {"-quiet", "-selection", "clipboard", "-i", file});
    return xclip->waitForStarted() ? std::move(xclip) : nullptr;
}

} // namespace

// A 64 MB text on the clipboard: the island's thread goes on answering while
// it is read, nothing of it is kept, and the next copy is read as usual; the
// same when its owner is killed in the middle of the transfer.
TEST(X11ClipboardTest, AHugeTextNeitherBlocksNorFillsMemory)
{
    if (QStandardPaths::findExecutable(QStringLiteral("xclip")).isEmpty())
        GTEST_SKIP() << "xclip is not installed";
    QTemporaryDir dir;
    platform::QtClipboard clipboard;
    ClipboardStore store(&clipboard);
    int owners = 0;
    std::unique_ptr<QProcess> owner; // until the next one takes over
    QObject::connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, [&] { ++owners; });
    // The previous owner stays until the next has taken over, so that no
    // clipboard without an owner comes between.
    const auto takeOver = [&](const QString &file) {
        const int before = owners;
        auto next = ownClipboard(file);
        const bool took = next && Patience::until([&] { return owners > before; }, 5000);
        if (owner)
            owner->waitForFinished(); // it ends on losing the clipboard
        owner = std::move(next);
        return took;
    };
    const auto copied = [&](const QString &text) {
        QFile file(dir.filePath(text));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) > 0);
        file.close();
        return takeOver(file.fileName())
            && Patience::until([&] { return store.poll().items.value(0).text == text; }, 5000);
    };
    ASSERT_TRUE(copied("before"));

    // The longest wait between two turns of the event loop while work goes on.
    qint64 longestGap = 0;
    QElapsedTimer sinceTurn;
    QTimer turns;
    QObject::connect(&turns, &QTimer::timeout, [&] {
        longestGap = std::max(longestGap, sinceTurn.restart());
    });
    QFile huge(dir.filePath("huge"));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
    for (int mb = 0; mb < 64; ++mb)
        ASSERT_EQ(huge.write(QByteArray(1024 * 1024, 'x')), 1024 * 1024);
    huge.close();
    const qint64 peakBefore = peakMemoryMB();
    for (const bool killed : {false, true}) {
        const int changes = clipboard.changeCount();
        sinceTurn.start();
        longestGap = 0;
        turns.start(5);
        ASSERT_TRUE(takeOver(huge.fileName()));
        if (killed) {
            waitUntil([] { return false; }, 150); // the transfer is under way
            owner->kill();
            owner->waitForFinished();
        }
        ASSERT_TRUE(Patience::until([&] { return clipboard.changeCount() > changes; }, 30000))
            << "the read never ended; killed owner: " << killed;
        turns.stop();
        EXPECT_LT(longestGap, Patience::deadline(250)) << "the event loop stood still; killed owner: " << killed;
        EXPECT_FALSE(clipboard.text()) << "killed owner: " << killed;
        EXPECT_EQ(store.poll().items.value(0).text, "before");
    }
    EXPECT_LT(peakMemoryMB() - peakBefore, 2 * platform::X11ClipboardReader::MaxBytes / (1024 * 1024));
    ASSERT_TRUE(copied("after"));
    owner->kill();
    owner->waitForFinished();
}
