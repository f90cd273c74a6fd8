#include "core/userdefaults.h"
#include "support/pavlettest.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <limits>

class UserDefaultsTest : public PavletTest {
protected:
    // Writes content to path (relative to the test's folder), folders and all.
    QString writeFile(const QString &name, const QByteArray &content)
    {
        const QString path = tempPath(name);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(content);
        return path;
    }
    static QByteArray contents(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
    }
};

TEST_F(UserDefaultsTest, ValuesKeepTheirTypeAcrossARestart)
{
    defaults->setBool("flag", true);
    defaults->setInt("count", 9007199254740993LL); // not representable as a double
    defaults->setDouble("ratio", 0.25);
    defaults->setString("name", "Pavlet");
    defaults->setData("blob", QByteArray("\x00\x01\xff", 3));

    auto reopened = reopenDefaults();
    EXPECT_EQ(reopened->typeOf("flag"), UserDefaults::Type::Bool);
    EXPECT_EQ(reopened->typeOf("count"), UserDefaults::Type::Int);
    EXPECT_EQ(reopened->typeOf("ratio"), UserDefaults::Type::Double);
    EXPECT_EQ(reopened->typeOf("name"), UserDefaults::Type::String);
    EXPECT_EQ(reopened->typeOf("blob"), UserDefaults::Type::Data);
    EXPECT_TRUE(reopened->boolValue("flag"));
    EXPECT_EQ(reopened->intValue("count"), 9007199254740993LL);
    EXPECT_DOUBLE_EQ(reopened->doubleValue("ratio"), 0.25);
    EXPECT_EQ(reopened->stringValue("name"), "Pavlet");
    EXPECT_EQ(reopened->dataValue("blob"), QByteArray("\x00\x01\xff", 3));
}

TEST_F(UserDefaultsTest, ReadsGiveTheFallbackAndNeverWrite)
{
    EXPECT_TRUE(defaults->boolValue("missing", true));
    EXPECT_EQ(defaults->intValue("missing", 7), 7);
    EXPECT_EQ(defaults->stringValue("missing", "x"), "x");
    EXPECT_TRUE(defaultsBool(*defaults, "missing", true));
    EXPECT_FALSE(defaults->contains("missing"));
    EXPECT_FALSE(QFile::exists(defaults->path()));
}

TEST_F(UserDefaultsTest, CrossTypeReadsConvertLikeTheSystemStore)
{
    defaults->setInt("n", 3);
    defaults->setString("s", "YES");
    defaults->setString("bad", "abc");
    EXPECT_TRUE(defaults->boolValue("n"));
    EXPECT_DOUBLE_EQ(defaults->doubleValue("n"), 3.0);
    EXPECT_TRUE(defaults->boolValue("s"));
    EXPECT_EQ(defaults->intValue("bad", 42), 42);
}

TEST_F(UserDefaultsTest, WritesAnnounceTheKeyAndRemoveForgetsIt)
{
    QSignalSpy spy(defaults.get(), &UserDefaults::changed);
    defaults->setString("a", "1");
    defaults->remove("a");
    defaults->remove("a"); // nothing left to remove: no second notice
    ASSERT_EQ(spy.count(), 2);
    EXPECT_EQ(spy.at(0).at(0).toString(), "a");
    EXPECT_FALSE(reopenDefaults()->contains("a"));
}

TEST_F(UserDefaultsTest, DamagedFileReadsEmptyAndIsKeptBeforeTheFirstWrite)
{
    const QString path = writeFile("broken/defaults.json", "{ this is not json");
    UserDefaults store(path);
    EXPECT_FALSE(store.contains("anything"));
    EXPECT_EQ(store.stringValue("k", "fallback"), "fallback");
    EXPECT_EQ(contents(path), QByteArray("{ this is not json")); // untouched by reads

    store.setString("k", "v");
    ASSERT_TRUE(store.flush());
    const QStringList kept = QDir(tempPath("broken")).entryList({"defaults.json.damaged-*"});
    ASSERT_EQ(kept.size(), 1);
    EXPECT_EQ(contents(tempPath("broken/" + kept.first())), QByteArray("{ this is not json"));
    EXPECT_EQ(UserDefaults(path).stringValue("k"), "v");
}

TEST_F(UserDefaultsTest, ADamagedFileThatCannotBeCopiedIsNotReplaced)
{
    const QString path = writeFile("broken/defaults.json", "{ damaged");
    writeFile("blocker", ""); // a file where the copies' folder should be
    UserDefaults store(path, nullptr, tempPath("blocker/copies"));
    store.setString("k", "v");
    EXPECT_FALSE(store.flush());
    EXPECT_FALSE(store.lastWriteSucceeded());
    EXPECT_EQ(store.stringValue("k"), "v") << "the value stays in memory";
    EXPECT_EQ(contents(path), QByteArray("{ damaged"));
}

TEST_F(UserDefaultsTest, OutOfRangeNumbersReadAsTheNearestInteger)
{
    const struct {
        const char *stored;
        qint64 expected;
    } cases[] = {
        {R"({"type":"int","value":1e300})", std::numeric_limits<qint64>::max()},
        {R"({"type":"int","value":-1e300})", std::numeric_limits<qint64>::min()},
        {R"({"type":"int","value":9223372036854775807.0})", std::numeric_limits<qint64>::max()},
        {R"({"type":"int","value":-42.7})", -42},
        {R"({"type":"double","value":1e300})", std::numeric_limits<qint64>::max()},
        {R"({"type":"double","value":-1e300})", std::numeric_limits<qint64>::min()},
    };
    for (const auto &c : cases) {
        const QString path = writeFile("numbers.json", QByteArray(R"({"format":1,"values":{"n":)") + c.stored + "}}");
        EXPECT_EQ(UserDefaults(path).intValue("n", 7), c.expected) << c.stored;
    }
}

// A file written by a newer version: what this one does not understand
// reads as nothing and comes back whole after its own saves; a key it
// writes itself replaces the entry it did not understand.
TEST_F(UserDefaultsTest, WhatANewerVersionWroteSurvivesEverySave)
{
    const QString path = writeFile("newer/defaults.json", R"({
        "format": 2,
        "profiles": {"work": ["clocks", "timer"]},
        "values": {
            "accent": {"type": "colour", "value": "#ff8800"},
            "tint": {"type": "colour", "value": "#112233"},
            "name": {"type": "string", "value": "Pavlet"}
        }
    })");
    {
        UserDefaults store(path);
        EXPECT_FALSE(store.contains("accent"));
        EXPECT_EQ(store.stringValue("name"), "Pavlet");
        store.setBool("flag", true);
        ASSERT_TRUE(store.flush());
        store.setString("tint", "teal");
        ASSERT_TRUE(store.flush());
    }
    const QJsonObject root = QJsonDocument::fromJson(contents(path)).object();
    EXPECT_EQ(root.value("format").toInt(), 2);
    EXPECT_EQ(root.value("profiles").toObject().value("work").toArray(), QJsonArray({"clocks", "timer"}));
    const QJsonObject values = root.value("values").toObject();
    EXPECT_EQ(values.value("accent").toObject(), QJsonObject({{"type", "colour"}, {"value", "#ff8800"}}));
    EXPECT_EQ(values.value("name").toObject().value("value").toString(), "Pavlet");
    EXPECT_EQ(values.value("flag").toObject().value("value").toBool(), true);
    EXPECT_EQ(values.value("tint").toObject(), QJsonObject({{"type", "string"}, {"value", "teal"}}));

    UserDefaults again(path);
    again.remove("accent");
    ASSERT_TRUE(again.flush());
    EXPECT_FALSE(QJsonDocument::fromJson(contents(path)).object().value("values").toObject().contains("accent"));
    EXPECT_EQ(UserDefaults(path).stringValue("tint"), "teal");
}
