#include "fakes/fakeclipboard.h"
#include "core/executor.h"
#include "fakes/inlineexecutor.h"
#include "support/pavlettest.h"
#include "support/qtprinters.h"
#include "support/smallfilesystem.h"
#include "tools/pocketstore.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QScopeGuard>
#include <QSignalSpy>
#include <cstdio>
#include <sys/stat.h>

namespace {

class PocketTest : public PavletTest {
protected:
    void SetUp() override
    {
        PavletTest::SetUp();
        QDir(tmp.path()).mkpath("src");
        QDir(tmp.path()).mkpath("tmp");
    }
    std::unique_ptr<PocketStore> make()
    {
        return std::make_unique<PocketStore>(defaults.get(), &clock, &clipboard, pocketFolder(), tempPath("tmp"),
                                             &executor);
    }
    QString pocketFolder() const { return tempPath("cache/PavletPocket"); }
    QString pocketPath(const QString &name) const { return QDir(pocketFolder()).filePath(name); }
    QUrl source(const QString &name, const QByteArray &content = "data")
    {
        const QString path = tempPath("src/" + name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
        return QUrl::fromLocalFile(path);
    }
    QUrl folder(const QString &name)
    {
        QDir(tmp.path()).mkpath("src/" + name + "/inner");
        QFile f(tempPath("src/" + name + "/inner/file.txt"));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("x");
        return QUrl::fromLocalFile(tempPath("src/" + name));
    }
    static QStringList filenames(const PocketStore &store)
    {
        QStringList names;
        for (const PocketItem &item : store.items())
            names.append(item.filename);
        return names;
    }
    FakeClipboard clipboard;
    InlineExecutor executor;
};

TEST_F(PocketTest, HoldsCopiesUnderUniqueNamesNewestFirst)
{
    auto store = make();
    const QUrl photo = source("photo.jpg", "12345");
    for (int i = 0; i < 3; ++i)
        store->ingest({photo});
    EXPECT_EQ(filenames(*store), (QStringList{"photo 3.jpg", "photo 2.jpg", "photo.jpg"}));
    for (const PocketItem &item : store->items()) {
        EXPECT_EQ(item.name, "photo.jpg");
        EXPECT_EQ(item.byteCount, 5);
        EXPECT_TRUE(QFile::exists(pocketPath(item.filename)));
    }
    EXPECT_TRUE(QFile::exists(photo.toLocalFile()));
    EXPECT_EQ(store->model()->rowCount(), 3);
}

TEST_F(PocketTest, UniqueNamesSkipListedAndStrayFiles)
{
    auto store = make();
    QFile stray(pocketPath("Notes"));
    ASSERT_TRUE(stray.open(QIODevice::WriteOnly));
    stray.close();
    EXPECT_EQ(store->uniqueName("Notes"), "Notes 2");
    EXPECT_EQ(store->uniqueName("archive.tar.gz"), "archive.tar.gz");
    QFile tar(pocketPath("archive.tar.gz"));
    ASSERT_TRUE(tar.open(QIODevice::WriteOnly));
    tar.close();
    EXPECT_EQ(store->uniqueName("archive.tar.gz"), "archive.tar 2.gz");

    store->ingest({source("a.txt")});
    QFile::remove(pocketPath("a.txt")); // the copy is gone, the entry is not
    EXPECT_EQ(store->uniqueName("a.txt"), "a 2.txt");
}

TEST_F(PocketTest, BatchesGoInFrontInDropOrderAndFoldersCountZeroBytes)
{
    auto store = make();
    store->ingest({source("X")});
    store->ingest({source("A"), folder("B")});
    EXPECT_EQ(filenames(*store), (QStringList{"A", "B", "X"}));
    const PocketItem &b = store->items().at(1);
    EXPECT_TRUE(b.isDirectory);
    EXPECT_EQ(b.byteCount, 0);
    EXPECT_TRUE(QFile::exists(pocketPath("B/inner/file.txt")));
}

// A name with bytes that are not UTF-8 is held like any other (a file
// manager's address gives those bytes percent-encoded, or as they are);
// whatever is not held is named, also when others of the drop were.
TEST_F(PocketTest, NamesOfAnyBytesAreHeldAndEveryMissIsNamed)
{
    auto store = make();
    const QByteArray raw = QFile::encodeName(tempPath("src/")) + "bad\xFF\xFEname.txt";
    std::FILE *f = std::fopen(raw.constData(), "wb");
    ASSERT_TRUE(f);
    // The temporary folder's own clean-up goes by Qt's text for names.
    const auto unlink = qScopeGuard([&] { std::remove(raw.constData()); });
    std::fputs("odd bytes", f);
    std::fclose(f);
    const QUrl odd = QUrl::fromEncoded("file://" + raw.toPercentEncoding("/"));
    ASSERT_TRUE(odd.isLocalFile());
    const QUrl missing = QUrl::fromLocalFile(tempPath("src/gone.txt"));

    QSignalSpy errors(store.get(), &PocketStore::lastErrorChanged);
    EXPECT_FALSE(store->ingest({source("ok.txt"), odd, missing}));
    const QString shown = QString::fromUtf8("bad\uFFFD\uFFFDname.txt");
    ASSERT_EQ(filenames(*store), (QStringList{"ok.txt", shown}));
    EXPECT_EQ(store->items().at(1).name, shown);
    EXPECT_EQ(store->items().at(1).byteCount, 9);
    QFile copy(pocketPath(shown));
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    EXPECT_EQ(copy.readAll(), "odd bytes");
    EXPECT_EQ(store->lastError(), QString("Couldn't hold gone.txt"));
    EXPECT_EQ(errors.count(), 1);

    // The address as bytes, the name's bytes unencoded.
    EXPECT_TRUE(store->ingestDropped({QByteArray("file://" + raw)}));
    EXPECT_EQ(store->items().first().filename, QString::fromUtf8("bad\uFFFD\uFFFDname 2.txt"));
    EXPECT_EQ(store->lastError(), std::nullopt);

    const QByteArray indexBefore = defaults->dataValue(PocketStore::IndexKey);
    EXPECT_FALSE(store->ingest({missing, QUrl::fromLocalFile(tempPath("src/also-gone"))}));
    EXPECT_EQ(store->items().size(), 3);
    EXPECT_EQ(store->lastError(), QString("Couldn't hold gone.txt, also-gone"));
    EXPECT_EQ(defaults->dataValue(PocketStore::IndexKey), indexBefore);

    errors.clear();
    EXPECT_TRUE(store->ingest({}));
    EXPECT_EQ(errors.count(), 0);
}

TEST_F(PocketTest, RefusesThePocketFolderAndFoldersHoldingIt)
{
    auto store = make();
    store->ingest({source("keep.txt")});
    for (const QString &path : {pocketFolder(), tempPath("cache"), tmp.path()}) {
        store->ingest({QUrl::fromLocalFile(path)});
        EXPECT_EQ(store->lastError(), "Couldn't hold " + QFileInfo(path).fileName()) << path.toStdString();
    }
    EXPECT_EQ(filenames(*store), QStringList{"keep.txt"});
    EXPECT_EQ(QDir(pocketFolder()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList{"keep.txt"});
    // A file held in the pocket may still be held again.
    store->ingest({QUrl::fromLocalFile(pocketPath("keep.txt"))});
    EXPECT_EQ(filenames(*store), (QStringList{"keep 2.txt", "keep.txt"}));

    // An address with a NUL byte names no file, whether or not a copy of
    // what it would name up to the NUL is held; a folder's no more.
    const QUrl held = source("a.txt", "held");
    store->ingest({held});
    for (const QUrl &nul : {QUrl::fromEncoded(held.toEncoded() + "%00"), QUrl::fromEncoded(folder("dir").toEncoded() + "%00"),
                            QUrl::fromEncoded(held.toEncoded() + "%00x")}) {
        EXPECT_FALSE(store->ingest({nul})) << nul.toEncoded().toStdString();
        EXPECT_TRUE(store->lastError().value_or("").startsWith("Couldn't hold ")) << store->lastError().value_or("").toStdString();
    }
    EXPECT_EQ(filenames(*store), (QStringList{"a.txt", "keep 2.txt", "keep.txt"}));
    QFile copy(pocketPath("a.txt"));
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    EXPECT_EQ(copy.readAll(), "held");
    EXPECT_EQ(QDir(pocketFolder()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).size(), 3);
}

// A link is held as a copy of what it points at, so the pocket gives it back
// once the original is gone; one that points nowhere or loops is refused. In
// a held folder a link to its own contents stays a link, one out of it is
// copied, and one back up is never followed.
TEST_F(PocketTest, LinksAreHeldAsCopiesOfWhatTheyPointAt)
{
    auto store = make();
    const QString src = tempPath("src/");
    source("real.txt", "real");
    folder("tree");
    QDir(tmp.path()).mkpath("outside");
    QFile out(tempPath("outside/o.txt"));
    ASSERT_TRUE(out.open(QIODevice::WriteOnly) && out.write("o") == 1);
    out.close();
    const QList<std::pair<QString, QString>> links{
        {"real.txt", "rel"}, {src + "real.txt", "abs"}, {"nowhere", "dangling"}, {"loop", "loop"},
        {src + "tree", "treelink"}, {"inner/file.txt", "tree/inside"}, {tempPath("outside"), "tree/out"},
        {"..", "tree/inner/up"}};
    QList<QUrl> dropped;
    for (const auto &[target, name] : links) {
        ASSERT_TRUE(QFile::link(target, src + name)) << name.toStdString();
        if (!name.contains('/'))
            dropped.append(QUrl::fromLocalFile(src + name));
    }
    EXPECT_FALSE(store->ingest(dropped));
    EXPECT_EQ(store->lastError(), QString("Couldn't hold dangling, loop"));
    EXPECT_EQ(filenames(*store), (QStringList{"rel", "abs", "treelink"}));
    ASSERT_TRUE(QDir(src).removeRecursively() && QDir(tempPath("outside")).removeRecursively());
    const auto content = [&](const QString &name) {
        QFile file(pocketPath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
    };
    EXPECT_EQ(content("rel") + content("abs"), "realreal");
    EXPECT_EQ(content("treelink/inner/file.txt") + content("treelink/inside") + content("treelink/out/o.txt"), "xxo");
    EXPECT_TRUE(QFileInfo(pocketPath("treelink/inside")).isSymLink());
    EXPECT_EQ(QFileInfo(pocketPath("treelink/inner/up")).symLinkTarget(), QFileInfo(pocketPath("treelink")).absoluteFilePath());
}

// A drop is copied on the pool while the pocket says so: a sparse file
// keeps its holes; a folder's link to the copy it is becoming stays a link;
// one into /proc is refused like a pipe.
TEST_F(PocketTest, DropsAreCopiedOffTheMainThreadKeepingHolesAndNeverEnteringTheirCopy)
{
    ThreadPoolExecutor pool;
    PocketStore store(defaults.get(), &clock, &clipboard, pocketFolder(), tempPath("tmp"), &pool);
    constexpr qint64 size = 256LL << 20;
    QFile sparse(tempPath("src/disk.img"));
    ASSERT_TRUE(sparse.open(QIODevice::WriteOnly) && sparse.resize(size) && sparse.seek(size - 4) && sparse.write("tail") == 4);
    sparse.close();
    const QUrl desktop = folder("Desktop");
    ASSERT_TRUE(QFile::link(pocketPath("Desktop"), tempPath("src/Desktop/a")));
    const QUrl proc = folder("Proc");
    ASSERT_TRUE(QFile::link("/proc/self/status", tempPath("src/Proc/status")));

    EXPECT_TRUE(store.ingest({QUrl::fromLocalFile(sparse.fileName()), desktop, proc}));
    EXPECT_TRUE(store.items().isEmpty()) << "copied on the caller's thread";
    EXPECT_EQ(store.activity(), QString::fromUtf8("Holding 3 items\u2026"));
    ASSERT_TRUE(waitUntil([&] { return store.activity().isEmpty(); }, 60000));
    EXPECT_EQ(filenames(store), (QStringList{"disk.img", "Desktop"}));
    EXPECT_EQ(store.lastError(), QString("Couldn't hold Proc"));
    EXPECT_FALSE(QFileInfo::exists(pocketPath("Proc")));

    struct stat st;
    ASSERT_EQ(::stat(QFile::encodeName(pocketPath("disk.img")).constData(), &st), 0);
    EXPECT_EQ(st.st_size, size);
    EXPECT_LT(st.st_blocks * 512, 1 << 20) << "the holes were written out";
    QFile copy(pocketPath("disk.img"));
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly) && copy.seek(size - 4));
    EXPECT_EQ(copy.readAll(), "tail");
    EXPECT_TRUE(QFileInfo(pocketPath("Desktop/a")).isSymLink());
    EXPECT_EQ(QDir(pocketPath("Desktop")).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot),
              (QStringList{"a", "inner"}));
}

TEST_F(PocketTest, DropsWithin350MsOfTheLastAreIgnored)
{
    auto store = make();
    const QUrl a = source("a.txt");
    store->ingestDropped({a});
    EXPECT_EQ(store->items().size(), 1);
    clock.advanceMs(200);
    store->ingestDropped({source("b.txt")});
    EXPECT_EQ(store->items().size(), 1);
    clock.advanceMs(350);
    store->ingestDropped({a.toString(), a.toEncoded(), QVariant(42), QString("https://example.com/x")});
    EXPECT_EQ(filenames(*store), (QStringList{"a 2.txt", "a 3.txt", "a.txt"}));
    // A drop with nothing usable only moves the filter.
    clock.advanceMs(400);
    store->ingestDropped({QVariant(1)});
    EXPECT_DOUBLE_EQ(store->lastIngest(), clock.nowSeconds());
}

TEST_F(PocketTest, ClipboardPrefersFilesThenImageThenText)
{
    auto store = make();
    EXPECT_FALSE(store->holdClipboard());
    EXPECT_EQ(store->lastError(), QString("Clipboard is empty"));
    clipboard.copy(QString(" \n\t"));
    EXPECT_FALSE(store->holdClipboard());
    EXPECT_EQ(store->lastError(), QString("Clipboard is empty"));

    const QString stamp = QString::number(clock.nowMs() / 1000);
    clipboard.copy(QString("  some words \n"));
    EXPECT_TRUE(store->holdClipboard());
    EXPECT_TRUE(store->holdClipboard()); // same second, same snapshot name
    EXPECT_EQ(filenames(*store), (QStringList{"Clipboard " + stamp + " 2.txt", "Clipboard " + stamp + ".txt"}));
    QFile text(pocketPath("Clipboard " + stamp + ".txt"));
    ASSERT_TRUE(text.open(QIODevice::ReadOnly));
    EXPECT_EQ(text.readAll(), "some words");

    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(Qt::red);
    clipboard.image = image; // an image and text: the image wins
    EXPECT_TRUE(store->holdClipboard());
    EXPECT_EQ(store->items().first().filename, "Clipboard " + stamp + ".png");
    EXPECT_EQ(QImage(pocketPath(store->items().first().filename)).size(), QSize(3, 2));

    // Another program's PNG is kept as it came; bytes that are no image give
    // way to the text.
    QByteArray png;
    QBuffer buffer(&png);
    ASSERT_TRUE(buffer.open(QIODevice::WriteOnly) && QImage(4, 5, QImage::Format_RGB32).save(&buffer, "PNG"));
    clipboard.image = QImage();
    clipboard.png = png;
    EXPECT_TRUE(store->holdClipboard());
    QFile held(pocketPath(store->items().first().filename));
    ASSERT_TRUE(held.open(QIODevice::ReadOnly));
    EXPECT_EQ(held.readAll(), png);
    clipboard.png = "\x89PNG not really";
    EXPECT_TRUE(store->holdClipboard());
    EXPECT_TRUE(store->items().first().filename.endsWith(".txt"));
    clipboard.png.clear();

    clipboard.files = {source("doc.pdf")};
    EXPECT_TRUE(store->holdClipboard());
    EXPECT_EQ(store->items().first().filename, "doc.pdf");

    // Asked while the clipboard is read, held once the read is in; an owner
    // that never answered, or a text too long to keep, is said as such.
    clipboard.files = {source("late.txt")};
    clipboard.state = platform::IClipboard::ReadState::reading;
    EXPECT_TRUE(store->holdClipboard() && store->holdClipboard());
    clipboard.read(platform::IClipboard::ReadState::ready);
    EXPECT_EQ(filenames(*store).mid(0, 2), (QStringList{"late.txt", "doc.pdf"}));
    clipboard.files.clear();
    clipboard.image = QImage();
    clipboard.copy(std::nullopt);
    clipboard.tooLarge = true;
    EXPECT_FALSE(store->holdClipboard());
    EXPECT_EQ(store->lastError(), QString("Clipboard text is too large"));
    clipboard.imageTooBig = true;
    EXPECT_FALSE(store->holdClipboard());
    EXPECT_EQ(store->lastError(), QString("Clipboard image is too large"));
    clipboard.state = platform::IClipboard::ReadState::failed;
    EXPECT_FALSE(store->holdClipboard());
    EXPECT_EQ(store->lastError(), QString("Couldn't read the clipboard"));
}

TEST_F(PocketTest, TheIndexSurvivesARestartAndDropsMissingCopies)
{
    {
        auto store = make();
        store->ingest({source("a.txt"), source("b.txt")});
        QFile::remove(pocketPath("b.txt"));
    }
    const QJsonArray stored = QJsonDocument::fromJson(defaults->dataValue(PocketStore::IndexKey)).array();
    ASSERT_EQ(stored.size(), 2);
    const QJsonObject first = stored.at(0).toObject();
    EXPECT_EQ(first.value("id").toString(), first.value("id").toString().toUpper());
    EXPECT_EQ(first.value("id").toString().size(), 36);
    EXPECT_NEAR(first.value("addedAt").toDouble(), clock.nowSeconds() - 978307200, 0.001);

    auto again = make();
    EXPECT_EQ(filenames(*again), QStringList{"a.txt"});
    EXPECT_EQ(QJsonDocument::fromJson(defaults->dataValue(PocketStore::IndexKey)).array().size(), 1);
}

// On a full disk a drop and a removal are said to be unsaved; the next start
// lists what the pocket folder holds.
TEST_F(PocketTest, AListThatCannotBeSavedIsSaidSoAndMatchesTheFolderAfterARestart)
{
    QDir(tmp.path()).mkpath("conf");
    SmallFileSystem disk(tempPath("conf"));
    if (!disk.why.isEmpty())
        GTEST_SKIP() << "no small file system to fill: " << disk.why.toStdString();
    QStringList held;
    testing::internal::CaptureStderr();
    {
        UserDefaults conf(tempPath("conf/defaults.json"));
        PocketStore store(&conf, &clock, &clipboard, pocketFolder(), tempPath("tmp"), &executor);
        store.ingest({source("a.txt"), source("b.txt")});
        ASSERT_TRUE(!store.unsaved() && disk.fill());
        store.ingest({source("c.txt")});
        EXPECT_TRUE(store.unsaved());
        store.remove(store.items().last().idText());
        EXPECT_TRUE(store.unsaved());
        held = filenames(store);
    }
    testing::internal::GetCapturedStderr();
    UserDefaults conf(tempPath("conf/defaults.json"));
    EXPECT_EQ(filenames(PocketStore(&conf, &clock, &clipboard, pocketFolder(), tempPath("tmp"), &executor)), held);
    EXPECT_EQ(held, (QStringList{"c.txt", "a.txt"}));
}

TEST_F(PocketTest, AnUnreadableIndexStartsEmptyAndStaysStored)
{
    const QByteArray broken = R"([{"id":"6F9619FF-8B86-D011-B42D-00C04FC964FF","name":"a","filename":"a",)"
                              R"("isDirectory":false,"byteCount":1}])";
    defaults->setData(PocketStore::IndexKey, broken);
    auto store = make();
    EXPECT_TRUE(store->items().isEmpty());
    EXPECT_EQ(defaults->dataValue(PocketStore::IndexKey), broken);
    EXPECT_EQ(PocketStore::decodeIndex(R"([{"id":"x","name":"a","filename":"a","isDirectory":false,)"
                                       R"("byteCount":1,"addedAt":0}])"),
              std::nullopt);
    EXPECT_EQ(PocketStore::decodeIndex("{}"), std::nullopt);

    // Numbers no 64-bit integer holds mark the entry as damaged.
    const auto entry = [](const char *bytes, const char *added) {
        return QByteArray(R"([{"id":"6F9619FF-8B86-D011-B42D-00C04FC964FF","name":"a","filename":"a",)")
               + R"("isDirectory":false,"byteCount":)" + bytes + R"(,"addedAt":)" + added + "}]";
    };
    EXPECT_TRUE(PocketStore::decodeIndex(entry("12", "800000000")));
    EXPECT_EQ(PocketStore::decodeIndex(entry("1e300", "0")), std::nullopt);
    EXPECT_EQ(PocketStore::decodeIndex(entry("9223372036854775808", "0")), std::nullopt);
    EXPECT_EQ(PocketStore::decodeIndex(entry("12", "1e300")), std::nullopt);
    EXPECT_EQ(PocketStore::decodeIndex(entry("12", "-1e17")), std::nullopt);
}

TEST_F(PocketTest, EntriesNamingPathsOutsideThePocketAreDropped)
{
    // A file beside the pocket folder that a crafted entry points at.
    QFile victim(tempPath("cache/victim.txt"));
    QDir(tmp.path()).mkpath("cache/PavletPocket");
    ASSERT_TRUE(victim.open(QIODevice::WriteOnly));
    victim.close();
    QFile ok(pocketPath("fine.txt"));
    ASSERT_TRUE(ok.open(QIODevice::WriteOnly));
    ok.close();

    QJsonArray index;
    for (const QString &name : {QString("../victim.txt"), QString("fine.txt"), QString(".."), QString("a/b"),
                                QString("fine.txt") + QChar(0)}) {
        index.append(QJsonObject{{"id", QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper()},
                                 {"name", "n"}, {"filename", name}, {"isDirectory", false},
                                 {"byteCount", 0}, {"addedAt", 10.5}});
    }
    defaults->setData(PocketStore::IndexKey, QJsonDocument(index).toJson());
    auto store = make();
    EXPECT_EQ(filenames(*store), QStringList{"fine.txt"});
    store->clear();
    EXPECT_TRUE(QFile::exists(tempPath("cache/victim.txt")));
    EXPECT_FALSE(QFile::exists(pocketPath("fine.txt")));
}

TEST_F(PocketTest, RemoveAndClearDeleteCopiesAndSave)
{
    auto store = make();
    store->ingest({source("a.txt"), folder("dir")});
    const PocketItem dir = store->items().at(1);
    store->remove(dir.idText());
    EXPECT_FALSE(QFileInfo::exists(pocketPath("dir")));
    EXPECT_EQ(filenames(*store), QStringList{"a.txt"});

    QFile::remove(pocketPath("a.txt"));
    store->remove(store->items().first().idText());
    EXPECT_TRUE(store->items().isEmpty());
    EXPECT_EQ(store->lastError(), std::nullopt);

    store->clear();
    EXPECT_EQ(defaults->dataValue(PocketStore::IndexKey), "[]");
}

} // namespace
