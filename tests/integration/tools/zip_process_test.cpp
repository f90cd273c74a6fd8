#include "platform/linux/libarchivezipper.h"
#include "platform/linux/qprocessrunner.h"
#include "support/pavlettest.h"
#include "support/qtprinters.h"
#include "tools/mediadownloadengine.h"
#include "tools/zipengine.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <archive.h>
#include <archive_entry.h>
#include <algorithm>
#include <clocale>
#include <cstdio>
#include <filesystem>
#include <locale.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void writeFile(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(content);
}

// Entry names and the contents of regular files, read back with libarchive.
// libarchive turns names into the thread's locale and answers a name it
// cannot convert with a warning, so the reading runs under a UTF-8 locale
// whatever the caller's is; any header that does not read fails the test.
QMap<QString, QByteArray> readZip(const QString &path)
{
    QMap<QString, QByteArray> entries;
    const locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t(0));
    EXPECT_NE(utf8, locale_t(0));
    const locale_t callers = uselocale(utf8);
    archive *a = archive_read_new();
    archive_read_support_format_zip(a);
    EXPECT_EQ(archive_read_open_filename(a, QFile::encodeName(path).constData(), 10240), ARCHIVE_OK);
    archive_entry *entry;
    int header;
    while ((header = archive_read_next_header(a, &entry)) == ARCHIVE_OK) {
        QByteArray data;
        char buffer[4096];
        la_ssize_t n;
        while ((n = archive_read_data(a, buffer, sizeof buffer)) > 0)
            data.append(buffer, n);
        entries.insert(QString::fromUtf8(archive_entry_pathname_utf8(entry)), data);
    }
    EXPECT_EQ(header, ARCHIVE_EOF) << archive_error_string(a);
    archive_read_free(a);
    uselocale(callers);
    freelocale(utf8);
    return entries;
}

class ZipRoundTripTest : public PavletTest {
protected:
    QByteArray native(const QString &relative) const { return QFile::encodeName(tempPath(relative)); }
};

// Whether this process maps a library whose file name holds name.
bool mapped(const char *name)
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains(name);
}

// The writer module, and libarchive with it, goes once no archive has been
// written for a minute, and comes back for the next one.
TEST_F(ZipRoundTripTest, EachInputKeepsItsTopFolder)
{
    writeFile(tempPath("in/Photos/a.txt"), "alpha");
    writeFile(tempPath("in/Photos/trip/b ü.txt"), "beta");
    QDir().mkpath(tempPath("in/Photos/empty"));
    writeFile(tempPath("in/loose.md"), "# loose");

    platform::LibarchiveZipper zipper(scheduler.get());
    int status = -1;
    zipper.zip({native("in/Photos"), native("in/loose.md")}, tempPath("out.zip"), [&](int s, const QString &) { status = s; });
    ASSERT_TRUE(waitUntil([&] { return status != -1; }, 10000));
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(mapped("libpavlet_zipwriter"));
    scheduler->advance(platform::OnDemandModule::IdleMs - 1000);
    EXPECT_TRUE(mapped("libpavlet_zipwriter"));
    scheduler->advance(1000);
    EXPECT_FALSE(mapped("libpavlet_zipwriter"));
    status = -1;
    zipper.zip({native("in/loose.md")}, tempPath("again.zip"), [&](int s, const QString &) { status = s; });
    ASSERT_TRUE(waitUntil([&] { return status != -1; }, 10000));
    EXPECT_EQ(status, 0);

    const auto entries = readZip(tempPath("out.zip"));
    EXPECT_EQ(entries.keys(), (QStringList{"Photos/", "Photos/a.txt", "Photos/empty/", "Photos/trip/",
                                           "Photos/trip/b ü.txt", "loose.md"}));
    EXPECT_EQ(entries.value("Photos/trip/b ü.txt"), "beta");
    EXPECT_EQ(entries.value("loose.md"), "# loose");
}

// Links go in as links with their own target text, and come out of
// another unpacker, in another folder, pointing where they pointed; a link
// to its own folder does not send the walk round in circles.
TEST_F(ZipRoundTripTest, SymlinksKeepTheirOwnTargetText)
{
    writeFile(tempPath("in/loopdir/a.txt"), "alpha");
    const QMap<QString, QString> links = {
        {"self", "."}, {"up", "../loopdir"}, {"file", "a.txt"}, {"gone", "nowhere/b.txt"}, {"far", "/etc/hostname"}};
    for (auto it = links.cbegin(); it != links.cend(); ++it)
        ASSERT_TRUE(QFile::link(it.value(), tempPath("in/loopdir/" + it.key())));

    ASSERT_EQ(platform::LibarchiveZipper::writeArchive({native("in/loopdir")}, tempPath("out.zip")), 0);
    const auto entries = readZip(tempPath("out.zip"));
    EXPECT_EQ(entries.size(), 2 + links.size());

    QDir().mkpath(tempPath("elsewhere"));
    QProcess unzip;
    unzip.setWorkingDirectory(tempPath("elsewhere"));
    unzip.start("unzip", {"-q", tempPath("out.zip")});
    ASSERT_TRUE(unzip.waitForFinished(30000));
    ASSERT_EQ(unzip.exitCode(), 0) << unzip.readAllStandardError().toStdString();
    for (auto it = links.cbegin(); it != links.cend(); ++it) {
        const QFileInfo unpacked(tempPath("elsewhere/loopdir/" + it.key()));
        EXPECT_TRUE(unpacked.isSymLink()) << it.key().toStdString();
        char text[256] = {};
        const ssize_t n = ::readlink(QFile::encodeName(unpacked.filePath()).constData(), text, sizeof text - 1);
        EXPECT_EQ(QByteArray(text, n > 0 ? n : 0), it.value().toUtf8()) << it.key().toStdString();
    }
    QFile a(tempPath("elsewhere/loopdir/file"));
    ASSERT_TRUE(a.open(QIODevice::ReadOnly));
    EXPECT_EQ(a.readAll(), "alpha");
}

// A name of any bytes, picked or dropped as a file manager's address gives
// it, is stored as those bytes and comes back from unzip byte for byte.
TEST_F(ZipRoundTripTest, NamesOfAnyBytesComeBackFromUnzipAsTheyWere)
{
    namespace fs = std::filesystem;
    const QByteArray top = native("in/") + "odd\xE9";
    const QList<QByteArray> names = {"good.txt", "bad\xFF\xFEname.txt"};
    // The temporary folder's own clean-up goes by Qt's text for names.
    const auto remove = qScopeGuard([&] {
        std::error_code ec;
        fs::remove_all(fs::path(native("in").toStdString()), ec);
        fs::remove_all(fs::path(native("out").toStdString()), ec);
    });
    fs::create_directories(fs::path(top.toStdString()));
    for (const QByteArray &name : names) {
        std::FILE *f = std::fopen((top + '/' + name).constData(), "wb");
        ASSERT_TRUE(f && std::fclose(f) == 0);
    }
    writeFile(tempPath("in/café.txt"), "c");
    QDir().mkpath(tempPath("Downloads"));
    platform::LibarchiveZipper zipper;
    ZipEngine engine(&zipper, nullptr, &clock, tempPath("Downloads"));
    engine.zip({QUrl::fromEncoded("file://" + top.toPercentEncoding("/")), QUrl::fromLocalFile(tempPath("in/café.txt"))});
    ASSERT_TRUE(waitUntil([&] { return engine.status().startsWith("Saved "); }, 10000)) << engine.status().toStdString();
    const QString archive = QDir(tempPath("Downloads")).filePath(engine.status().mid(6));

    const QList<QByteArray> stored = {"caf\xC3\xA9.txt", "odd\xE9/", "odd\xE9/bad\xFF\xFEname.txt", "odd\xE9/good.txt"};
    // unzip lists every name byte for byte, and unpacks every entry under
    // its name (a name marked as UTF-8 that is not would come out changed),
    // but for the byte 0xFF, which unzip 6.0 leaves out of the names it
    // writes (also for archives of Info-ZIP's zip).
    QDir().mkpath(tempPath("out"));
    const auto unzip = [&](const QStringList &args) {
        QProcess p;
        p.setWorkingDirectory(tempPath("out"));
        p.start("unzip", args);
        EXPECT_TRUE(p.waitForFinished(30000));
        EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
        return p.readAllStandardOutput();
    };
    QList<QByteArray> listed = unzip({"-Z1", archive}).split('\n');
    listed.removeAll(QByteArray());
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(listed, stored);
    unzip({"-q", archive});
    QList<QByteArray> unpacked, expected;
    for (const auto &entry : fs::recursive_directory_iterator(fs::path(native("out").toStdString())))
        unpacked.append(QByteArray::fromStdString(entry.path().string()).mid(native("out/").size()));
    for (const QByteArray &name : stored)
        expected.append(QByteArray(name).replace("\xFF", "").chopped(name.endsWith('/') ? 1 : 0));
    std::sort(unpacked.begin(), unpacked.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(unpacked, expected);
}

// A missing input fails the archive with its reason; a pipe and a socket in
// a folder are left out of it by name.
TEST_F(ZipRoundTripTest, AMissingInputFailsAndWhatCannotBeStoredIsNamed)
{
    writeFile(tempPath("in/a.txt"), "a");
    QString note;
    EXPECT_NE(platform::LibarchiveZipper::writeArchive({native("in/a.txt"), native("in/nope")}, tempPath("x.zip"), &note), 0);
    EXPECT_EQ(note, "can't find nope");
    EXPECT_FALSE(QFile::exists(tempPath("x.zip")));
    EXPECT_NE(platform::LibarchiveZipper::writeArchive({native("in/a.txt")}, tempPath("no/such/dir/x.zip")), 0);

    writeFile(tempPath("in/odd/b.txt"), "b");
    ASSERT_EQ(::mkfifo(native("in/odd/fifo").constData(), 0600), 0);
    ASSERT_EQ(::mknod(native("in/odd/sock").constData(), S_IFSOCK | 0600, 0), 0);
    ASSERT_EQ(platform::LibarchiveZipper::writeArchive({native("in/odd")}, tempPath("odd.zip"), &note), 0);
    EXPECT_EQ(readZip(tempPath("odd.zip")).keys(), (QStringList{"odd/", "odd/b.txt"}));
    QStringList leftOut = note.split('\n', Qt::SkipEmptyParts);
    leftOut.sort();
    EXPECT_EQ(leftOut, (QStringList{"fifo", "sock"}));
    EXPECT_EQ(ZipEngine::finishedText("P.zip", 0, "fifo\nsock\n"), "Saved P.zip, left out: fifo, sock");
    EXPECT_EQ(ZipEngine::finishedText("P.zip", 1, "can't find nope"), "Couldn't compress: can't find nope");
}

TEST_F(ZipRoundTripTest, TheEngineSavesIntoTheFolderItWasGiven)
{
    writeFile(tempPath("in/a.txt"), "a");
    QDir().mkpath(tempPath("Downloads"));
    platform::LibarchiveZipper zipper;
    ZipEngine engine(&zipper, nullptr, &clock, tempPath("Downloads"));
    engine.zip({QUrl::fromLocalFile(tempPath("in/a.txt"))});
    engine.zip({QUrl::fromLocalFile(tempPath("in/a.txt"))});
    ASSERT_TRUE(waitUntil([&] { return !engine.running(); }, 10000));
    EXPECT_EQ(QDir(tempPath("Downloads")).entryList(QDir::Files).size(), 2);
}

// ---- External programs ----

class ProcessTest : public PavletTest {
protected:
    // A small shell script standing in for a tool.
    QString script(const QString &name, const QByteArray &body)
    {
        const QString path = tempPath("bin/" + name);
        writeFile(path, "#!/bin/sh\n" + body);
        QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner);
        return path;
    }
    platform::ProcessResult run(const QString &program, const QStringList &args)
    {
        platform::ProcessResult result{-1, {}};
        bool done = false;
        runner.run(program, args, [&](const platform::ProcessResult &r) {
            result = r;
            done = true;
        });
        EXPECT_TRUE(waitUntil([&] { return done; }, 15000));
        return result;
    }
    platform::QProcessRunner runner;
};

TEST_F(ProcessTest, RunnerMergesOutputAndReportsTheStatus)
{
    const QString tool = script("tool", "echo out \"$1\"\necho err >&2\nexit 3\n");
    const auto result = run(tool, {"a b"});
    EXPECT_EQ(result.status, 3);
    EXPECT_EQ(result.output, "out a b\nerr\n");

    // A large output is drained while the program runs.
    const auto big = run(script("big", "head -c 300000 /dev/zero | tr '\\0' 'y'\n"), {});
    EXPECT_EQ(big.status, 0);
    EXPECT_EQ(big.output.size(), 300000);

    const auto missing = run(tempPath("bin/absent"), {});
    EXPECT_EQ(missing.status, 1);
    EXPECT_FALSE(missing.output.isEmpty());
}

TEST_F(ProcessTest, LocatorFindsTheInstalledTools)
{
    platform::PathToolLocator locator;
    EXPECT_EQ(locator.find("yt-dlp"), "/usr/bin/yt-dlp");
    EXPECT_EQ(locator.find("ffmpeg"), "/usr/bin/ffmpeg");
    EXPECT_EQ(locator.find("pavlet-no-such-tool"), "");

    // The fixed folders come first, then the search path.
    const QString mine = script("yt-dlp", "exit 0\n");
    EXPECT_EQ(platform::PathToolLocator({tempPath("bin")}).find("yt-dlp"), mine);
    writeFile(tempPath("plain/yt-dlp"), "not executable");
    EXPECT_EQ(platform::PathToolLocator({tempPath("plain")}, {tempPath("bin")}).find("yt-dlp"), mine);
}

TEST_F(ProcessTest, ADownloadRunsTheToolAndReportsItsLastLines)
{
    script("yt-dlp", "echo \"$@\" > \"$(dirname \"$0\")/args\"\n"
                     "echo '[youtube] abc: Downloading webpage'\n"
                     "echo 'ERROR: [youtube] abc: Video unavailable' >&2\nexit 1\n");
    script("ffmpeg", "exit 0\n");
    platform::PathToolLocator locator({tempPath("bin")}, {tempPath("none")});
    MediaDownloadEngine engine(Tools::MediaKind::youtube, &locator, &runner, tempPath("Downloads"));
    engine.setUrlText(" https://www.youtube.com/watch?v=abc ");
    engine.start(Tools::MediaSaveFormat::mp3);
    EXPECT_TRUE(engine.running());
    ASSERT_TRUE(waitUntil([&] { return !engine.running(); }, 15000));
    EXPECT_EQ(engine.status(), "[youtube] abc: Downloading webpage ERROR: [youtube] abc: Video unavailable");
    QFile args(tempPath("bin/args"));
    ASSERT_TRUE(args.open(QIODevice::ReadOnly));
    EXPECT_EQ(args.readAll().trimmed(), "-x --audio-format mp3 -o " + tempPath("Downloads").toUtf8()
                                            + "/%(title)s.%(ext)s https://www.youtube.com/watch?v=abc");

    script("yt-dlp", "exit 0\n");
    engine.start(Tools::MediaSaveFormat::mp4);
    ASSERT_TRUE(waitUntil([&] { return !engine.running(); }, 15000));
    EXPECT_EQ(engine.status(), "Saved MP4 to Downloads");
}

} // namespace
