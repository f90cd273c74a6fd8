#include "canvas/canvascredentials.h"
#include "fakes/fakesecretstore.h"
#include "support/pavlettest.h"

#include <QDir>
#include <QFile>

namespace {

class CanvasCredentialsTest : public PavletTest {
protected:
    void SetUp() override
    {
        PavletTest::SetUp();
        legacy = tempPath("com.pavlet.app/canvas-token");
        store = std::make_unique<CanvasCredentialStore>(&secrets, defaults.get(), legacy);
    }
    void writeLegacy(const QByteArray &content)
    {
        QDir().mkpath(tempPath("com.pavlet.app"));
        QFile f(legacy);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    QByteArray keychainToken() const { return secrets.items.value({"com.pavlet.app", "CANVAS_TOKEN"}); }
    void newRun() { store = std::make_unique<CanvasCredentialStore>(&secrets, defaults.get(), legacy); }
    // The store's answer to a load (the fake secret store answers at once).
    std::optional<CanvasCredentials> load()
    {
        std::optional<CanvasCredentials> answer;
        bool answered = false;
        store->load([&](const std::optional<CanvasCredentials> &c) {
            answer = c;
            answered = true;
        });
        EXPECT_TRUE(answered);
        return answer;
    }

    FakeSecretStore secrets;
    QString legacy;
    std::unique_ptr<CanvasCredentialStore> store;
};

} // namespace

TEST(CanvasAddressTest, NormalizesWhatTheUserTyped)
{
    struct Case {
        const char *typed;
        const char *expected; // nullptr: rejected
    };
    const Case cases[] = {
        {" \n ", ""},
        {"school.instructure.com/", "https://school.instructure.com"},
        {"HtTp://school.edu", "https://school.edu"},
        {"HTTPS://School.edu", "HTTPS://School.edu"},
        {"https://school.edu//", "https://school.edu/"},
        {"ftp://school.edu", nullptr},
        {"https://", nullptr},
        {"https://school.edu/canvas/", "https://school.edu/canvas"},
        {"not a host at all", nullptr},
        // Paths are appended to the address as text: no query or fragment.
        {"school.example.edu?x=1", nullptr},
        {"https://school.example.edu/#top", nullptr},
    };
    for (const Case &c : cases) {
        const auto result = CanvasCredentials::normalizeBaseURL(QString::fromUtf8(c.typed));
        if (!c.expected)
            EXPECT_FALSE(result) << c.typed << " gave " << result.value_or("").toStdString();
        else
            EXPECT_EQ(result.value_or("<none>"), QString::fromUtf8(c.expected)) << c.typed;
    }
}

TEST_F(CanvasCredentialsTest, LoadReadsOnceAndCachesEvenTheAbsence)
{
    EXPECT_FALSE(load());
    secrets.items.insert({"com.pavlet.app", "CANVAS_TOKEN"}, " tok \n");
    EXPECT_FALSE(load()); // cached for the run
    EXPECT_EQ(secrets.reads, 1);

    newRun();
    defaults->setString("canvasBaseURL", " https://school.edu/ ");
    const auto loaded = load();
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->token, "tok");
    EXPECT_EQ(loaded->baseURL, "https://school.edu");
}

TEST_F(CanvasCredentialsTest, BlankOrUndecodableKeychainValueIsNoToken)
{
    secrets.items.insert({"com.pavlet.app", "CANVAS_TOKEN"}, "  \n");
    EXPECT_FALSE(load());
    newRun();
    secrets.items.insert({"com.pavlet.app", "CANVAS_TOKEN"}, QByteArray("\xff\xfe", 2));
    EXPECT_FALSE(load());
}

TEST_F(CanvasCredentialsTest, LegacyFileMovesIntoTheKeychain)
{
    writeLegacy("legacy-token\n");
    const auto loaded = load();
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->token, "legacy-token");
    EXPECT_EQ(loaded->baseURL, "");
    EXPECT_EQ(keychainToken(), "legacy-token");
    EXPECT_FALSE(QFile::exists(legacy));
}

TEST_F(CanvasCredentialsTest, LegacyFileStaysWhenTheKeychainRefusesTheToken)
{
    writeLegacy("legacy-token");
    secrets.refuseWrites = true;
    const auto loaded = load();
    ASSERT_TRUE(loaded); // usable for this run all the same
    EXPECT_EQ(loaded->token, "legacy-token");
    EXPECT_TRUE(QFile::exists(legacy)); // the next run tries again
    secrets.refuseWrites = false;
    newRun();
    EXPECT_TRUE(load());
    EXPECT_FALSE(QFile::exists(legacy));
}

TEST_F(CanvasCredentialsTest, BlankLegacyFileIsLeftAndGivesNothing)
{
    writeLegacy(" \n");
    EXPECT_FALSE(load());
    EXPECT_TRUE(QFile::exists(legacy));
}

TEST_F(CanvasCredentialsTest, SaveStoresTrimmedTokenAndSigningOutClearsEverything)
{
    writeLegacy("old");
    store->save("school.edu", "  fresh  ");
    EXPECT_EQ(keychainToken(), "fresh");
    EXPECT_FALSE(QFile::exists(legacy));
    EXPECT_EQ(load(), (CanvasCredentials{"https://school.edu", "fresh"}));

    // An address that does not normalize keeps the stored one.
    store->save("ftp://elsewhere", "fresh");
    EXPECT_EQ(defaults->stringValue("canvasBaseURL"), "https://school.edu");

    store->save("", "   ");
    EXPECT_FALSE(secrets.items.contains({"com.pavlet.app", "CANVAS_TOKEN"}));
    EXPECT_FALSE(load());
    EXPECT_EQ(defaults->stringValue("canvasBaseURL", "absent"), "");
}

TEST_F(CanvasCredentialsTest, ARefusedWriteKeepsTheEarlierTokenStoredAndServesThisRun)
{
    using Saved = CanvasCredentialStore::Saved;
    store->save("school.edu", "first");
    secrets.refuseWrites = true;
    std::optional<Saved> saved;
    store->save("other.edu", "second", [&](Saved answer) { saved = answer; });
    EXPECT_EQ(saved, Saved::ThisRunOnly);
    EXPECT_EQ(keychainToken(), "first"); // nothing was deleted ahead of the failed write
    // This run uses what was typed, address included; the address is kept.
    EXPECT_EQ(load(), (CanvasCredentials{"https://other.edu", "second"}));
    EXPECT_EQ(defaults->stringValue("canvasBaseURL"), "https://other.edu");

    // Saving the same token again tries the store again.
    secrets.refuseWrites = false;
    store->save("other.edu", "second", [&](Saved answer) { saved = answer; });
    EXPECT_EQ(saved, Saved::Stored);
    EXPECT_EQ(keychainToken(), "second");
}

TEST_F(CanvasCredentialsTest, NothingChangesUntilTheStoreAnswers)
{
    using Saved = CanvasCredentialStore::Saved;
    struct Case {
        const char *what;
        bool refuse;
        bool unavailable;
        const char *kept; // what the store holds afterwards
        Saved saved;
    };
    const Case cases[] = {
        {"accepted", false, false, "new", Saved::Stored},
        {"refused", true, false, "old", Saved::ThisRunOnly},
        {"no answer", false, true, "old", Saved::ThisRunOnly},
    };
    for (const Case &c : cases) {
        secrets = FakeSecretStore();
        newRun();
        store->save("school.edu", "old");
        secrets.hold = true;
        secrets.refuseWrites = c.refuse;
        secrets.unavailable = c.unavailable;
        std::optional<Saved> saved;
        store->save("school.edu", "new", [&](Saved answer) { saved = answer; });
        // A prompt is up: the run still holds the old token.
        EXPECT_FALSE(saved) << c.what;
        EXPECT_EQ(load()->token, "old") << c.what;
        secrets.release();
        EXPECT_EQ(saved, c.saved) << c.what;
        // Whatever the store did, the typed token serves this run.
        EXPECT_EQ(load()->token, "new") << c.what;
        secrets.unavailable = false;
        EXPECT_EQ(keychainToken(), QByteArray(c.kept)) << c.what;
    }
}

TEST_F(CanvasCredentialsTest, ATokenWithAControlCharacterIsRefusedUnstored)
{
    for (const char *token : {"ab\ncd", "ab\rcd", "tab\there", "nul\x01x"}) {
        std::optional<CanvasCredentialStore::Saved> saved;
        store->save("school.edu", token, [&](CanvasCredentialStore::Saved answer) { saved = answer; });
        EXPECT_EQ(saved, CanvasCredentialStore::Saved::Refused) << token;
    }
    EXPECT_EQ(secrets.writes, 0);
    EXPECT_FALSE(load());
}

TEST_F(CanvasCredentialsTest, AReadWithoutAnAnswerIsNotNoTokenAndIsRetried)
{
    secrets.items.insert({"com.pavlet.app", "CANVAS_TOKEN"}, "tok");
    secrets.unavailable = true; // a locked keyring
    EXPECT_FALSE(load());
    EXPECT_EQ(store->tokenState(), CanvasCredentialStore::TokenState::Unknown);

    // Saving an empty token while nobody knows whether one is stored leaves
    // the stored token alone.
    secrets.unavailable = false;
    store->save("school.edu", "");
    EXPECT_EQ(keychainToken(), "tok");
    EXPECT_EQ(secrets.deletes, 0);
    // With the account set up, a new run waits for the keyring.
    newRun();
    secrets.unavailable = true;
    EXPECT_FALSE(load());
    EXPECT_TRUE(store->waitingForKeyring());
    secrets.unavailable = false;

    // The next load asks again.
    const auto loaded = load();
    EXPECT_FALSE(store->waitingForKeyring());
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->token, "tok");
    EXPECT_EQ(secrets.reads, 3);

    // A locked keyring may also say it holds nothing: that absence is asked
    // about again (at the next Save or Canvas opening).
    newRun();
    secrets.items.clear();
    EXPECT_FALSE(load());
    secrets.items.insert({"com.pavlet.app", "CANVAS_TOKEN"}, "tok");
    store->askAgain();
    EXPECT_EQ(load()->token, "tok");
}

TEST_F(CanvasCredentialsTest, LoadsWaitingForOneReadShareItAndASaveMeanwhileWins)
{
    secrets.items.insert({"com.pavlet.app", "CANVAS_TOKEN"}, "old");
    secrets.hold = true;
    QStringList answers;
    auto record = [&](const std::optional<CanvasCredentials> &c) { answers << (c ? c->token : "none"); };
    store->load(record);
    store->load(record);
    EXPECT_EQ(secrets.reads, 1);
    store->save("school.edu", "new");
    secrets.release();
    // The read answers with what was stored then; the confirmed save follows.
    EXPECT_EQ(answers, (QStringList{"old", "old"}));
    EXPECT_EQ(keychainToken(), "new");
    EXPECT_EQ(load()->token, "new");

    // A read that answers only after a confirmed save does not undo it.
    newRun();
    secrets.hold = true;
    answers.clear();
    store->load(record);
    secrets.hold = false;
    store->save("school.edu", "newer");
    secrets.release();
    EXPECT_EQ(answers, QStringList{"newer"});
    EXPECT_EQ(load()->token, "newer");
}

// A token serves the school it was saved for (scheme, host and port), and a
// token that cannot go into a header serves nobody; either stays where it is
// and the store asks for a token instead.
TEST_F(CanvasCredentialsTest, ATokenServesOnlyItsOwnSchool)
{
    using Saved = CanvasCredentialStore::Saved;
    const auto saveAddress = [&](const QString &address) {
        std::optional<Saved> saved;
        store->saveAddress(address, [&](Saved answer) { saved = answer; });
        EXPECT_EQ(saved, Saved::Stored) << address.toStdString();
    };
    // As an earlier version left it: the token and its address, nothing more.
    secrets.items.insert({"com.pavlet.app", "CANVAS_TOKEN"}, "tok");
    defaults->setString("canvasBaseURL", "https://one.edu");

    saveAddress("one.edu/canvas/");
    EXPECT_EQ(load(), (CanvasCredentials{"https://one.edu/canvas", "tok"}));
    saveAddress("https://two.edu:8443");
    EXPECT_FALSE(load());
    EXPECT_EQ(store->tokenRequest(), "Paste the token for two.edu:8443");
    EXPECT_EQ(defaults->stringValue("canvasBaseURL"), "https://two.edu:8443");
    EXPECT_EQ(keychainToken(), "tok");
    newRun();
    EXPECT_FALSE(load()) << "a restart hands school one's token to school two";
    saveAddress("one.edu:444");
    EXPECT_EQ(store->tokenRequest(), "Paste the token for one.edu:444");
    saveAddress("http://ONE.edu");
    EXPECT_EQ(load(), (CanvasCredentials{"https://ONE.edu", "tok"}));
    EXPECT_EQ(store->tokenRequest(), "");

    // A token no keyring kept serves its school this run; the keyring's own
    // stays school one's.
    secrets.refuseWrites = true;
    store->save("two.edu", "typed");
    EXPECT_EQ(load(), (CanvasCredentials{"https://two.edu", "typed"}));
    EXPECT_TRUE(store->tokenUntilQuit());
    newRun();
    EXPECT_FALSE(load());
    EXPECT_FALSE(store->tokenUntilQuit());
    saveAddress("one.edu");
    EXPECT_FALSE(load()) << "the keyring's older token is not used without asking";
    EXPECT_EQ(store->tokenRequest(), "Paste the token for one.edu");
    saveAddress("");
    EXPECT_EQ(store->tokenRequest(), CanvasCredentialStore::PasteAddressText);
    secrets.refuseWrites = false;
    store->save("two.edu", "typed");
    newRun();
    EXPECT_EQ(load(), (CanvasCredentials{"https://two.edu", "typed"}));

    // Another program's item with a control byte in it.
    secrets.items.insert({"com.pavlet.app", "CANVAS_TOKEN"}, "to\x01k");
    newRun();
    EXPECT_FALSE(load());
    EXPECT_EQ(store->tokenRequest(), CanvasCredentialStore::UnsendableTokenText);
    saveAddress("one.edu");
    EXPECT_EQ(defaults->stringValue("canvasBaseURL"), "https://one.edu");
    EXPECT_FALSE(load());

    // A token saved before any address becomes the first school's.
    store->save("", "fresh");
    saveAddress("three.edu");
    newRun();
    EXPECT_EQ(load(), (CanvasCredentials{"https://three.edu", "fresh"}));
    saveAddress("four.edu");
    EXPECT_FALSE(load());
}
