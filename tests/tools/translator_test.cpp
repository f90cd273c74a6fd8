#include "fakes/fakeclipboard.h"
#include "support/qtprinters.h"
#include "tools/translatorengine.h"

#include <QUrlQuery>
#include <gtest/gtest.h>

namespace {

struct ReplyCase {
    const char *body;
    std::optional<QString> text;
    const char *detected;
};

class ParseResponseTest : public ::testing::TestWithParam<ReplyCase> {};

TEST_P(ParseResponseTest, ReadsSegmentsAndTheDetectedLanguage)
{
    const auto [text, detected] = TranslatorEngine::parseResponse(GetParam().body);
    EXPECT_EQ(text, GetParam().text) << GetParam().body;
    EXPECT_EQ(detected, QString::fromUtf8(GetParam().detected)) << GetParam().body;
}

INSTANTIATE_TEST_SUITE_P(
    Table, ParseResponseTest,
    ::testing::Values(ReplyCase{R"([[["Hola ","Hello ",null],["mundo","world"]],null,"en"])", QString("Hola mundo"), "en"},
                      ReplyCase{R"([[["Hola"]]])", QString("Hola"), ""},
                      ReplyCase{R"([[["Hola"]],null,5])", QString("Hola"), ""},
                      ReplyCase{"[]", std::nullopt, ""}, ReplyCase{R"({"a":1})", std::nullopt, ""},
                      ReplyCase{"<html>nope</html>", std::nullopt, ""}, ReplyCase{R"(["x"])", std::nullopt, ""},
                      ReplyCase{R"([[[1],[],[null,"x"]],null,"fr"])", std::nullopt, "fr"},
                      ReplyCase{R"([[[""]],null,"de"])", std::nullopt, "de"}));

class TranslatorTest : public ::testing::Test {
protected:
    FakeClipboard clipboard;
    TranslatorEngine engine{&clipboard, QUrl("http://127.0.0.1:9")};
};

TEST_F(TranslatorTest, LabelsNameTheLanguagesOrShowTheCode)
{
    EXPECT_EQ(engine.sourceLabel(), "Detect");
    EXPECT_EQ(engine.pairLabel(), "Detect \u2192 Spanish");
    engine.setSource("de");
    engine.setTarget("xx");
    EXPECT_EQ(engine.sourceLabel(), "German");
    EXPECT_EQ(engine.targetLabel(), "xx");
    EXPECT_EQ(engine.pairLabel(), "German \u2192 xx");
    engine.setSource("qq");
    EXPECT_EQ(engine.sourceLabel(), "qq");
    EXPECT_EQ(TranslatorEngine::languageName("zh-CN"), "Chinese");
    EXPECT_EQ(TranslatorEngine::languageName("zh-cn"), "");
    EXPECT_EQ(TranslatorEngine::languageName("auto"), "");
    EXPECT_EQ(TranslatorEngine::languages().size(), 11);
}

TEST_F(TranslatorTest, EmptyInputSendsNothing)
{
    engine.setInput("  \n ");
    EXPECT_FALSE(engine.canTranslate());
    engine.translate();
    EXPECT_EQ(engine.status(), "Type something to translate");
    EXPECT_FALSE(engine.busy());
}

TEST_F(TranslatorTest, SwapUsesTheDetectedOrChosenSource)
{
    engine.setInput("hello");
    // Source auto, nothing detected: only the texts move.
    engine.swapLanguages();
    EXPECT_EQ(engine.input(), "");
    EXPECT_EQ(engine.output(), "hello");
    EXPECT_EQ(engine.source(), "auto");
    EXPECT_EQ(engine.target(), "es");

    engine.setSource("de");
    engine.setTarget("ja");
    engine.swapLanguages();
    EXPECT_EQ(engine.source(), "ja");
    EXPECT_EQ(engine.target(), "de");
    EXPECT_EQ(engine.input(), "hello");
}

TEST_F(TranslatorTest, PasteAndCopyGoThroughTheClipboard)
{
    engine.pasteFromClipboard();
    EXPECT_EQ(engine.status(), "Clipboard is empty");
    clipboard.copy(QString("  \n"));
    engine.pasteFromClipboard();
    EXPECT_EQ(engine.status(), "Clipboard is empty");
    clipboard.copy(QString("  bonjour \n"));
    engine.pasteFromClipboard();
    EXPECT_EQ(engine.input(), "bonjour");
    EXPECT_EQ(engine.status(), "Pasted");

    // Nothing to copy: not even the status changes.
    engine.copyOutput();
    EXPECT_EQ(engine.status(), "Pasted");
    const int before = clipboard.count;
    engine.swapLanguages(); // output is now "bonjour"
    engine.copyOutput();
    EXPECT_EQ(clipboard.count, before + 1);
    EXPECT_EQ(clipboard.content, QString("bonjour"));
    EXPECT_EQ(engine.status(), "Copied");

    engine.clear();
    EXPECT_EQ(engine.input(), "");
    EXPECT_EQ(engine.output(), "");
    EXPECT_EQ(engine.status(), "Google Translate");
}

TEST(TranslatorUrlTest, EncodesEveryQueryValueInOrder)
{
    const QUrl url = TranslatorEngine::requestUrl(QUrl("https://t.example"), "auto", "zh-CN", "1+1 = 2 & #3 ü/?");
    EXPECT_EQ(url.path(), "/translate_a/single");
    EXPECT_EQ(url.query(QUrl::FullyEncoded),
              "client=gtx&sl=auto&tl=zh-CN&dt=t&q=1%2B1%20%3D%202%20%26%20%233%20%C3%BC%2F%3F");
    // A decoder that reads "+" as a space gets the text back unchanged.
    EXPECT_EQ(QUrlQuery(url).queryItemValue("q", QUrl::FullyDecoded), "1+1 = 2 & #3 ü/?");
}

} // namespace
