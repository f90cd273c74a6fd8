// QML files use only types of their own folder and the folders below it, as
// C++ includes do. A type's folder is where its QML file lies, or where the
// header declaring its C++ class (QML_ELEMENT, QML_NAMED_ELEMENT,
// QML_VALUE_TYPE) lies.

#include "layers.h"
#include "qmlcode.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

using namespace layers;
using qmlcode::codeOf;

struct Types {
    // Object types, singletons and enum holders: named in code by a capital word.
    QHash<QString, QString> objects;
    // Value types: named only as a property's type.
    QHash<QString, QString> values;
    QStringList clashes;

    void add(QHash<QString, QString> &into, const QString &name, const QString &folder)
    {
        const auto it = into.constFind(name);
        if (it != into.cend() && *it != folder)
            clashes << QStringLiteral("%1 is declared in %2 and in %3").arg(name, *it, folder);
        into.insert(name, folder);
    }
};

// The QML types a header declares, each with the class or namespace it
// belongs to.
void addTypesOf(Types &types, const QString &header, const QString &text)
{
    static const QRegularExpression scope(R"re(^\s*(?:class|struct|namespace)\s+(\w+)[^;{]*\{)re",
                                          QRegularExpression::MultilineOption);
    static const QRegularExpression named(R"re(QML_NAMED_ELEMENT\(\s*(\w+)\s*\))re");
    static const QRegularExpression value(R"re(QML_VALUE_TYPE\(\s*(\w+)\s*\))re");
    static const QRegularExpression element(R"re(\bQML_ELEMENT\b)re");
    QList<QRegularExpressionMatch> scopes;
    for (auto m = scope.globalMatch(text); m.hasNext();)
        scopes << m.next();
    const QString folder = folderOf(header);
    for (int i = 0; i < scopes.size(); ++i) {
        const qsizetype from = scopes[i].capturedEnd();
        const qsizetype to = i + 1 < scopes.size() ? scopes[i + 1].capturedStart() : text.size();
        const QString body = text.mid(from, to - from);
        if (const auto m = value.match(body); m.hasMatch())
            types.add(types.values, m.captured(1), folder);
        else if (const auto n = named.match(body); n.hasMatch())
            types.add(types.objects, n.captured(1), folder);
        else if (element.match(body).hasMatch())
            types.add(types.objects, scopes[i].captured(1), folder);
    }
}

// Each use in file (a path below src/) of a type from a folder it may not
// use, one line each.
QStringList upwardUses(const QString &file, const QString &qml, const Types &types)
{
    static const QRegularExpression word(R"re((?<![\w.])([A-Z]\w*)\b)re");
    static const QRegularExpression propertyType(R"re(\bproperty\s+(?:list\s*<\s*)?(\w+))re");
    static const QRegularExpression importLine(R"re(^\s*import\b.*$)re", QRegularExpression::MultilineOption);
    const QString blanked = codeOf(qml);
    QString code = blanked;
    code.replace(importLine, QString());
    const QString own = file.section('/', -1).section('.', 0, 0);
    const QString from = folderOf(file);
    QStringList faults;
    auto check = [&](const QString &name, const QString &folder) {
        if (name == own)
            return;
        const QString why = crossing(from, folder);
        const QString line = QStringLiteral("%1 uses %2 (%3): %4").arg(file, name, folder, why);
        if (!why.isEmpty() && !faults.contains(line))
            faults << line;
    };
    for (auto m = word.globalMatch(code); m.hasNext();) {
        const QString name = m.next().captured(1);
        if (const auto it = types.objects.constFind(name); it != types.objects.cend())
            check(name, *it);
    }
    for (auto m = propertyType.globalMatch(code); m.hasNext();) {
        const QString name = m.next().captured(1);
        if (const auto it = types.values.constFind(name); it != types.values.cend())
            check(name, *it);
    }
    // A component named by its path (Qt.createComponent, Loader.source,
    // Qt.resolvedUrl) is a use of the folder the path leads to. Only string
    // literals count: a path in a comment is blanked out of code.
    static const QRegularExpression path(R"re((["'])((?:[\w.-]+/)*[\w.-]+\.qml)\1)re");
    const QString dir = from.isEmpty() ? QString() : from + '/';
    for (auto m = path.globalMatch(qml); m.hasNext();) {
        const auto match = m.next();
        if (blanked.at(match.capturedStart()) != match.captured(1).at(0))
            continue;
        const QString target = QDir::cleanPath(dir + match.captured(2));
        if (target.startsWith(QLatin1String("../"))) {
            faults << QStringLiteral("%1 names %2, outside src/").arg(file, match.captured(2));
            continue;
        }
        check(match.captured(2), folderOf(target));
    }
    return faults;
}

QString read(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

} // namespace

TEST(QmlUseDirectionTest, ATypeFromAboveIsCaughtWhereverItIsNamed)
{
    Types types;
    addTypesOf(types, "island/notchviewmodel.h",
               "class Forward;\nclass NotchViewModel : public QObject {\n  Q_OBJECT\n  QML_ELEMENT\n};\n");
    addTypesOf(types, "media/nowplayinginfo.h",
               "struct NowPlayingInfo {\n  Q_GADGET\n  QML_VALUE_TYPE(nowPlayingInfo)\n};\n");
    addTypesOf(types, "island/ambient.h", "namespace Ambient {\nQ_NAMESPACE\nQML_NAMED_ELEMENT(Pulse)\n}\n");
    addTypesOf(types, "games/gamecards.h", "class GameCards : public QObject {\n  Q_OBJECT\n};\n");
    types.add(types.objects, "HomePanel", "home");
    types.add(types.objects, "GameCard", "games");
    EXPECT_TRUE(types.clashes.isEmpty());
    EXPECT_FALSE(types.objects.contains("Forward"));
    EXPECT_FALSE(types.objects.contains("GameCards")) << "a class without QML_ELEMENT is no QML type";

    const struct {
        const char *file, *qml;
        int faults;
    } cases[] = {
        {"island/NotchView.qml", "Item {\n  HomePanel { }\n}\n", 1},
        {"games/GamesPanel.qml", "Item {\n  required property NotchViewModel viewModel\n}\n", 1},
        {"games/GamesPanel.qml", "Item { visible: state === NotchViewModel.Games }\n", 1},
        {"games/Gauge.qml", "Item { property color c: Pulse.Battery }\n", 1},
        {"services/Card.qml", "Item { required property nowPlayingInfo info }\n", 1},
        {"island/NotchView.qml", "Item {\n  // HomePanel once lived here\n  property string s: \"HomePanel\"\n}\n", 0},
        {"island/NotchView.qml", "Item { property int n: model.HomePanel }\n", 0},
        {"home/HomePanel.qml", "HomePanel { NotchViewModel { } GameCard { } }\n", 0},
        {"island/NotchView.qml", "import Pavlet.HomePanel\nItem { }\n", 0},
        {"tools/Note.qml", "Item { property string nowPlayingInfo: \"\" }\n", 0},
        {"island/NotchView.qml", "import QtQuick\nItem { Component.onCompleted: Qt.createComponent(\"../home/HomePanel.qml\") }\n", 1},
        {"island/NotchView.qml", "Loader { source: '../home/Cards.qml' }\n", 1},
        {"island/NotchView.qml", "Loader { source: Qt.resolvedUrl(\"../../home/X.qml\") }\n", 1},
        {"island/NotchView.qml", "Item {\n  // Loader { source: \"../home/HomePanel.qml\" }\n}\n", 0},
        {"notch/NotchIsland.qml", "Item { property var c: Qt.createComponent(\"../island/NotchView.qml\") }\n", 0},
        {"island/NotchView.qml", "Loader { source: Qt.resolvedUrl(\"MirrorPanel.qml\") }\n", 0},
    };
    for (const auto &c : cases)
        EXPECT_EQ(upwardUses(c.file, c.qml, types).size(), c.faults) << c.file << ":\n" << c.qml;
}

TEST(QmlUseDirectionTest, EveryQmlUseOfTheProgramPointsDown)
{
    const QString src = QStringLiteral(PAVLET_SOURCE_DIR "/src/");
    Types types;
    QHash<QString, QString> qmlFiles;
    for (QDirIterator it(src, {"*.h", "*.qml"}, QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
        const QString path = it.next();
        const QString file = path.mid(src.size());
        if (file.endsWith(QLatin1String(".h"))) {
            addTypesOf(types, file, read(path));
        } else {
            types.add(types.objects, file.section('/', -1).section('.', 0, 0), folderOf(file));
            qmlFiles.insert(file, read(path));
        }
    }
    EXPECT_GT(qmlFiles.size(), 50);
    EXPECT_TRUE(types.objects.contains(QStringLiteral("NotchViewModel")));
    EXPECT_TRUE(types.clashes.isEmpty()) << qPrintable(types.clashes.join('\n'));
    QStringList faults;
    for (auto it = qmlFiles.cbegin(); it != qmlFiles.cend(); ++it)
        faults << upwardUses(it.key(), it.value(), types);
    faults.sort();
    EXPECT_TRUE(faults.isEmpty()) << faults.size() << " upward uses:\n" << qPrintable(faults.join('\n'));
}
