// Text from elsewhere (a copied text, a track's or a device's name, a Canvas
// title) is shown as written. Qt's text items guess the format by default
// and draw anything that starts like a tag as rich text, which styles it and
// loads the images it names. So every Text and Label says its format, none
// asks for the guess, and a label that Qt draws itself (a menu entry, a
// button without a content item of ours, a tool tip) shows only words the
// program wrote.

#include "qmlcode.h"

#include <QDirIterator>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>

namespace {

using qmlcode::codeOf;

// Types that guess the format unless told; TextEdit and TextArea show plain
// text unless told otherwise.
const QSet<QString> GuessingTexts = {"Text", "Label"};

// Controls whose label Qt draws with a guessing text item unless the
// control brings a content item of its own.
const QSet<QString> QtDrawnLabels = {"Button",       "ToolButton",    "RoundButton",    "DelayButton",
                                     "TabButton",    "CheckBox",      "RadioButton",    "Switch",
                                     "MenuItem",     "MenuBarItem",   "ItemDelegate",   "CheckDelegate",
                                     "RadioDelegate", "SwitchDelegate", "SwipeDelegate", "ToolTip"};

// Labels Qt draws whose text is not a literal but still only the program's
// own words, by file: names from the program's own tables, and help texts
// its callers write.
const QHash<QString, QStringList> OwnWords = {
    {"home/ChromeStrip.qml", {"modelData.title"}},            // the module catalogue's titles
    {"tools/TranslatorPanel.qml", {"modelData.name"}},        // the translator's language table
    {"home/MediaDownloadCard.qml", {"root.engine.formatLabel(format)"}}, // the download formats
    {"look/IslandIconButton.qml", {"root.help"}},              // callers' help texts
    {"home/TimerRow.qml", {"help"}},
};

struct Block {
    QString type;
    qsizetype start = 0; // the type's name
    qsizetype open = 0;  // the "{"
    qsizetype close = 0; // its "}"
};

struct Property {
    QString name;
    QString value; // as written
    QString code;  // the same with strings blanked
};

// Every object declaration ("Type {"), in order.
QList<Block> blocksOf(const QString &code)
{
    static const QRegularExpression declaration(R"re((?<![\w.])([A-Z]\w*)\s*\{)re");
    QList<Block> blocks;
    for (auto it = declaration.globalMatch(code); it.hasNext();) {
        const auto m = it.next();
        Block b{m.captured(1), m.capturedStart(1), m.capturedEnd() - 1, code.size()};
        int depth = 0;
        for (qsizetype i = b.open; i < code.size(); ++i) {
            if (code[i] == '{')
                ++depth;
            else if (code[i] == '}' && --depth == 0) {
                b.close = i;
                break;
            }
        }
        blocks << b;
    }
    return blocks;
}

// Where the value that starts at from ends: a ";" or a line end outside
// brackets, unless the next line goes on with an operator.
qsizetype valueEnd(const QString &code, qsizetype from, qsizetype limit)
{
    int depth = 0;
    for (qsizetype i = from; i < limit; ++i) {
        const QChar c = code[i];
        if (c == '(' || c == '[' || c == '{')
            ++depth;
        else if (c == ')' || c == ']' || c == '}')
            --depth;
        else if (depth == 0 && c == ';')
            return i;
        else if (depth == 0 && c == '\n') {
            qsizetype next = i + 1;
            while (next < limit && code[next].isSpace())
                ++next;
            if (next >= limit || !QStringLiteral("?:+-|&.").contains(code[next]))
                return i;
        }
        if (depth < 0)
            return i;
    }
    return limit;
}

// The properties a block sets itself (not those of the objects inside it).
QList<Property> propertiesOf(const QString &qml, const QString &code, const Block &b)
{
    static const QRegularExpression assignment(R"re(\G\s*([A-Za-z_][\w.]*)\s*:(?!:))re");
    QList<Property> out;
    int depth = 0;
    bool statementStart = true;
    for (qsizetype i = b.open + 1; i < b.close; ++i) {
        const QChar c = code[i];
        if (depth == 0 && statementStart) {
            const auto m = assignment.match(code, i);
            if (m.hasMatch()) {
                const qsizetype from = m.capturedEnd();
                const qsizetype to = valueEnd(code, from, b.close);
                out << Property{m.captured(1), qml.mid(from, to - from).trimmed(), code.mid(from, to - from).trimmed()};
                i = to - 1;
                statementStart = false;
                continue;
            }
        }
        if (c == '{' || c == '(' || c == '[')
            ++depth;
        else if (c == '}' || c == ')' || c == ']')
            --depth;
        if (depth == 0 && (c == '\n' || c == ';' || c == '{' || c == '}'))
            statementStart = true;
        else if (!c.isSpace())
            statementStart = false;
    }
    return out;
}

// Whether a value can only be words the program wrote: a string literal,
// qsTr of one, or a choice or sum of those.
bool ownWords(QString value, QString code)
{
    value = value.trimmed();
    code = code.trimmed();
    while (code.startsWith('(') && code.endsWith(')')) {
        value = value.mid(1, value.size() - 2).trimmed();
        code = code.mid(1, code.size() - 2).trimmed();
    }
    static const QRegularExpression literal(
        R"re(^(?:"(?:[^"\\]|\\.)*"|'(?:[^'\\]|\\.)*'|qsTr\(\s*(?:"(?:[^"\\]|\\.)*"|'(?:[^'\\]|\\.)*')\s*\))$)re");
    if (literal.match(value).hasMatch())
        return true;
    // Split at the outermost "?" and its ":", or at the outermost "+".
    int depth = 0, pending = 0;
    qsizetype question = -1, colon = -1;
    QList<qsizetype> pluses;
    for (qsizetype i = 0; i < code.size(); ++i) {
        const QChar c = code[i];
        if (c == '(' || c == '[' || c == '{')
            ++depth;
        else if (c == ')' || c == ']' || c == '}')
            --depth;
        else if (depth == 0 && c == '?') {
            if (question < 0)
                question = i;
            else
                ++pending;
        } else if (depth == 0 && c == ':' && question >= 0) {
            if (pending == 0 && colon < 0)
                colon = i;
            else
                --pending;
        } else if (depth == 0 && c == '+' && question < 0)
            pluses << i;
    }
    if (question >= 0 && colon > question)
        return ownWords(value.mid(question + 1, colon - question - 1), code.mid(question + 1, colon - question - 1))
            && ownWords(value.mid(colon + 1), code.mid(colon + 1));
    if (!pluses.isEmpty()) {
        pluses << code.size();
        qsizetype from = 0;
        for (qsizetype at : pluses) {
            if (!ownWords(value.mid(from, at - from), code.mid(from, at - from)))
                return false;
            from = at + 1;
        }
        return true;
    }
    return false;
}

bool sets(const QList<Property> &properties, const QString &name)
{
    return std::any_of(properties.cbegin(), properties.cend(), [&](const Property &p) { return p.name == name; });
}

int lineOf(const QString &text, qsizetype at)
{
    return int(text.left(at).count('\n')) + 1;
}

// The types declared in these files (by file name, or as inline components)
// whose label Qt still draws: a control of QtDrawnLabels, or of such a type,
// without a content item.
QSet<QString> qtDrawnTypes(const QHash<QString, QString> &files)
{
    static const QRegularExpression inlineComponent(R"re(\bcomponent\s+(\w+)\s*:\s*$)re");
    QSet<QString> drawn = QtDrawnLabels;
    for (bool grew = true; grew;) {
        grew = false;
        for (auto it = files.cbegin(); it != files.cend(); ++it) {
            const QString code = codeOf(*it);
            const QList<Block> blocks = blocksOf(code);
            for (qsizetype i = 0; i < blocks.size(); ++i) {
                const Block &b = blocks[i];
                const QString name = i == 0 ? it.key().section('/', -1).section('.', 0, 0)
                                            : inlineComponent.match(code.left(b.start)).captured(1);
                if (name.isEmpty() || drawn.contains(name) || !drawn.contains(b.type))
                    continue;
                if (!sets(propertiesOf(*it, code, b), QStringLiteral("contentItem"))) {
                    drawn.insert(name);
                    grew = true;
                }
            }
        }
    }
    return drawn;
}

// The places in one file (a path below src/) that could show text from
// elsewhere as rich text, one line each.
QStringList guessedTexts(const QString &file, const QString &qml, const QSet<QString> &qtDrawn)
{
    const QString code = codeOf(qml);
    QStringList faults;
    auto fault = [&](qsizetype at, const QString &what) {
        faults << QStringLiteral("%1:%2: %3").arg(file).arg(lineOf(qml, at)).arg(what);
    };
    static const QRegularExpression autoText(R"re(\bAutoText\b)re");
    for (auto it = autoText.globalMatch(code); it.hasNext();)
        fault(it.next().capturedStart(), QStringLiteral("asks for the guessed format"));

    const QStringList own = OwnWords.value(file);
    auto checkLabel = [&](qsizetype at, const Property &p, const QString &what) {
        if (!ownWords(p.value, p.code) && !own.contains(p.value))
            fault(at, QStringLiteral("%1 shows \"%2\", which Qt may draw as rich text").arg(what, p.value));
    };
    for (const Block &b : blocksOf(code)) {
        const QList<Property> properties = propertiesOf(qml, code, b);
        if (GuessingTexts.contains(b.type) && !sets(properties, QStringLiteral("textFormat")))
            fault(b.open, QStringLiteral("a %1 without a textFormat").arg(b.type));
        const bool drawnByQt = qtDrawn.contains(b.type) && !sets(properties, QStringLiteral("contentItem"));
        for (const Property &p : properties) {
            if (drawnByQt && p.name == QLatin1String("text"))
                checkLabel(b.open, p, b.type);
            else if (p.name == QLatin1String("ToolTip.text"))
                checkLabel(b.open, p, QStringLiteral("a tool tip"));
        }
    }
    return faults;
}

QHash<QString, QString> programQml()
{
    const QString src = QStringLiteral(PAVLET_SOURCE_DIR "/src/");
    QHash<QString, QString> files;
    for (QDirIterator it(src, {"*.qml"}, QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
        const QString path = it.next();
        QFile f(path);
        if (f.open(QIODevice::ReadOnly))
            files.insert(path.mid(src.size()), QString::fromUtf8(f.readAll()));
    }
    return files;
}

} // namespace

TEST(PlainTextTest, TheChecksCatchAGuessedFormatWhereverItHides)
{
    const QHash<QString, QString> files = {
        {"look/PlainLine.qml", "Text {\n  textFormat: Text.PlainText\n}\n"},
        {"look/QtButton.qml", "Button {\n  flat: true\n}\n"},
        {"look/OwnButton.qml", "Button {\n  contentItem: Text { text: \"x\"; textFormat: Text.PlainText }\n}\n"},
    };
    const QSet<QString> drawn = qtDrawnTypes(files);
    EXPECT_TRUE(drawn.contains("QtButton"));
    EXPECT_FALSE(drawn.contains("OwnButton"));
    EXPECT_FALSE(drawn.contains("PlainLine"));

    const struct {
        const char *qml;
        int faults;
    } cases[] = {
        {"Item {\n  Text {\n    text: model.name\n  }\n}\n", 1},
        {"Item {\n  Text { text: model.name; textFormat: Text.PlainText }\n}\n", 0},
        // A format set on a child is not the text's own.
        {"Text {\n  text: x\n  Item { property int textFormat: 1 }\n}\n", 1},
        {"Item {\n  component Note: Text {\n    wrapMode: Text.Wrap\n  }\n  Note { text: x }\n}\n", 1},
        {"Item {\n  Label {\n    textFormat: Text.AutoText\n  }\n}\n", 1},
        {"Item {\n  PlainLine { text: device.name }\n  // Text { }\n  property string s: \"Text { }\"\n}\n", 0},
        {"Item {\n  MenuItem { text: qsTr(\"Open\") }\n  MenuItem {\n    text: busy ? qsTr(\"Stop\") : \"Go\"\n  }\n}\n", 0},
        {"Item {\n  MenuItem {\n    text: modelData.title\n  }\n}\n", 1},
        {"Item {\n  QtButton { text: track.title }\n  OwnButton { text: track.title }\n}\n", 1},
        {"Item {\n  ToolTip.text: device.name\n  ToolTip.visible: true\n}\n", 1},
        {"Item {\n  ToolTip.text: qsTr(\"Copy\") + \" \" + qsTr(\"all\")\n}\n", 0},
    };
    for (const auto &c : cases)
        EXPECT_EQ(guessedTexts("home/Card.qml", c.qml, drawn).size(), c.faults) << c.qml;
}

TEST(PlainTextTest, NoTextOfTheProgramGuessesItsFormat)
{
    const QHash<QString, QString> files = programQml();
    ASSERT_GT(files.size(), 50);
    const QSet<QString> drawn = qtDrawnTypes(files);
    QStringList faults;
    for (auto it = files.cbegin(); it != files.cend(); ++it)
        faults << guessedTexts(it.key(), it.value(), drawn);
    faults.sort();
    EXPECT_TRUE(faults.isEmpty()) << faults.size() << " texts that may be drawn as rich text:\n"
                                  << qPrintable(faults.join('\n'));
}
