#include "support/pavlettest.h"
#include "update/sha256.h"
#include "update/updatechecksum.h"
#include "update/updatetypes.h"

#include <QCryptographicHash>
#include <QFile>
#include <limits>

namespace {

const QSet<QString> Hosts = {"pavlet.app", "www.pavlet.app"};
const QByteArray Digest = "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";

QByteArray manifest(const QByteArray &fields)
{
    return "{" + fields + "}";
}

QByteArray withDefaults(const QByteArray &replace, const QByteArray &by)
{
    QByteArray body = R"({"version":" 1.5.0 ","build":"42","url":"https://pavlet.app/Pavlet.dmg",)"
                      R"("sha256":"SHA","notes":"  Faster.\n"})";
    body.replace("SHA", Digest);
    if (!replace.isEmpty())
        body.replace(replace, by);
    return body;
}

} // namespace

TEST(UpdateManifestTest, AcceptsAndNormalisesAGoodManifest)
{
    const auto parsed = parseManifest(withDefaults({}, {}), Hosts);
    ASSERT_TRUE(std::holds_alternative<UpdateManifest>(parsed));
    EXPECT_EQ(std::get<UpdateManifest>(parsed),
              (UpdateManifest{"1.5.0", 42, QUrl("https://pavlet.app/Pavlet.dmg"), QString(Digest), "Faster."}));

    const struct {
        QByteArray from, to;
        qint64 build;
    } builds[] = {
        {R"("build":"42")", R"("build":42)", 42},
        {R"("build":"42")", R"("build":"-7")", -7},
        {R"("build":"42")", R"("build":"42a")", 0},
        {R"("build":"42")", R"("build":" 42")", 0},
        {R"("build":"42")", R"("build":"")", 0},
        {R"("build":"42")", R"("build":4.5)", 0},
        {R"("build":"42")", R"("build":true)", 0},
        {R"("build":"42",)", "", 0},
    };
    for (const auto &b : builds) {
        const auto p = parseManifest(withDefaults(b.from, b.to), Hosts);
        ASSERT_TRUE(std::holds_alternative<UpdateManifest>(p)) << b.to.constData();
        EXPECT_EQ(std::get<UpdateManifest>(p).build, b.build) << b.to.constData();
    }

    const auto upper = parseManifest(withDefaults(Digest, " " + Digest.toUpper() + " "), Hosts);
    ASSERT_TRUE(std::holds_alternative<UpdateManifest>(upper));
    EXPECT_EQ(std::get<UpdateManifest>(upper).sha256, QString(Digest));

    for (const QByteArray url : {"HTTPS://PAVLET.APP/Pavlet.dmg", "https://www.pavlet.app/x.dmg",
                                 "https://pavlet.app:8443/x.dmg"})
        EXPECT_TRUE(std::holds_alternative<UpdateManifest>(
            parseManifest(withDefaults("https://pavlet.app/Pavlet.dmg", url), Hosts)))
            << url.constData();
}

TEST(UpdateManifestTest, RejectsWhatCannotBeTrusted)
{
    const struct {
        QByteArray body;
        ManifestError error;
    } cases[] = {
        {"not json", ManifestError::syntax},
        {"[1]", ManifestError::cannotParseResponse},
        {withDefaults(R"(" 1.5.0 ")", R"(" \n ")"), ManifestError::cannotParseResponse},
        {withDefaults(R"(" 1.5.0 ")", "150"), ManifestError::cannotParseResponse},
        {withDefaults("https://pavlet.app/Pavlet.dmg", "http://pavlet.app/Pavlet.dmg"), ManifestError::unsupportedURL},
        {withDefaults("https://pavlet.app/Pavlet.dmg", "https://evil.example/Pavlet.dmg"),
         ManifestError::unsupportedURL},
        {withDefaults("https://pavlet.app/Pavlet.dmg", "https://pavlet.app.evil.example/x"),
         ManifestError::unsupportedURL},
        {withDefaults("https://pavlet.app/Pavlet.dmg", "https:///Pavlet.dmg"), ManifestError::unsupportedURL},
        {withDefaults("https://pavlet.app/Pavlet.dmg", "Pavlet.dmg"), ManifestError::unsupportedURL},
        {withDefaults(Digest, Digest.left(63)), ManifestError::cannotParseResponse},
        {withDefaults(Digest, Digest + "0"), ManifestError::cannotParseResponse},
        {withDefaults(Digest, Digest.left(63) + "g"), ManifestError::cannotParseResponse},
        {manifest(R"("version":"2","url":"https://pavlet.app/x")"), ManifestError::cannotParseResponse},
    };
    for (const auto &c : cases) {
        const auto parsed = parseManifest(c.body, Hosts);
        ASSERT_TRUE(std::holds_alternative<ManifestError>(parsed)) << c.body.constData();
        EXPECT_EQ(std::get<ManifestError>(parsed), c.error) << c.body.constData();
    }
}

TEST(UpdateVersionTest, SignedDecimalsAndVersionOrder)
{
    const std::pair<const char *, std::optional<qint64>> decimals[] = {
        {"42", 42},
        {"+42", 42},
        {"-0", 0},
        {"9223372036854775807", std::numeric_limits<qint64>::max()},
        {"-9223372036854775808", std::numeric_limits<qint64>::min()},
        {"9223372036854775808", std::nullopt},
        {"-9223372036854775809", std::nullopt},
        {"", std::nullopt},
        {"-", std::nullopt},
        {" 1", std::nullopt},
        {"1 ", std::nullopt},
        {"0x10", std::nullopt},
        {"\u0661", std::nullopt}, // an Arabic-Indic digit
    };
    for (const auto &[text, value] : decimals)
        EXPECT_EQ(parseSignedDecimal(QString::fromUtf8(text)), value) << text;

    const std::tuple<const char *, const char *, int> versions[] = {
        {"1.2", "1.2.0", 0},     {"1..2", "1.2", 0},   {"1.10", "1.9", 1},  {"1.2beta.3", "1.3", 0},
        {"1.2beta.3", "1.2", 1}, {"a2.0", "1.9", -1},  {"", "x.y", 0},      {"2", "1.99.99", 1},
        {"0.1.2", "0.1.3", -1},  {"-1", "0", -1},
    };
    for (const auto &[a, b, order] : versions) {
        EXPECT_EQ(compareVersions(a, b), order) << a << " vs " << b;
        EXPECT_EQ(compareVersions(b, a), -order) << b << " vs " << a;
    }
}

TEST(UpdateVersionTest, HtmlPagesAreRecognised)
{
    const std::pair<QByteArray, bool> cases[] = {
        {"<!DOCTYPE html><html>", true},
        {"  \n\t<!doctype HTML>", true},
        {"<HTML><body>", true},
        {"<htmlish", true},
        {R"({"version":"1"})", false},
        {"", false},
        {QByteArray(78, ' ') + "<html>", false}, // only "<h" is within the first 80 bytes
        // 79 bytes and the first half of a two-byte letter: not UTF-8.
        {QByteArray(79, ' ') + "\xc3\xa9<html>", false},
        {"\xff<html>", false},
    };
    for (const auto &[body, html] : cases)
        EXPECT_EQ(looksLikeHTML(body), html) << body.constData();
}

class UpdateChecksumTest : public PavletTest {};

TEST_F(UpdateChecksumTest, DigestsFilesAndComparesWholeTexts)
{
    const QString path = tempPath("abc.dmg");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("abc");
    f.close();
    EXPECT_EQ(sha256Hex(path), QString(Digest));
    EXPECT_EQ(sha256Hex(tempPath("missing.dmg")), std::nullopt);

    EXPECT_EQ(verifyChecksum(path, Digest), ChecksumResult::matches);
    EXPECT_EQ(verifyChecksum(path, Digest.left(63) + "e"), ChecksumResult::differs);
    EXPECT_EQ(verifyChecksum(path, Digest.left(63)), ChecksumResult::differs);
    EXPECT_EQ(verifyChecksum(path, Digest + "0"), ChecksumResult::differs);
    EXPECT_EQ(verifyChecksum(path, ""), ChecksumResult::differs);
    EXPECT_EQ(verifyChecksum(tempPath("missing.dmg"), Digest), ChecksumResult::unreadable);
}

TEST(UpdateSha256Test, MatchesTheReferenceAtEveryPaddingEdge)
{
    QByteArray data(200000, Qt::Uninitialized);
    for (qsizetype i = 0; i < data.size(); ++i)
        data[i] = char((i * 7919) >> 3);
    for (qsizetype size : {0, 1, 55, 56, 57, 63, 64, 65, 119, 120, 128, 1000, 200000}) {
        const QByteArray piece = data.left(size);
        const QByteArray expected = QCryptographicHash::hash(piece, QCryptographicHash::Sha256);
        Sha256 whole;
        whole.addData(piece);
        EXPECT_EQ(whole.result(), expected) << size;
        // Fed in uneven pieces.
        Sha256 split;
        for (qsizetype at = 0, step = 1; at < size; at += step, step = step * 3 % 97 + 1)
            split.addData(piece.mid(at, std::min(step, size - at)));
        EXPECT_EQ(split.result(), expected) << size;
    }
    Sha256 million;
    const QByteArray a(1000, 'a');
    for (int i = 0; i < 1000; ++i)
        million.addData(a);
    EXPECT_EQ(million.result().toHex(), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
}
