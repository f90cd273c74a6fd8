#include "fakes/fakeclipboard.h"
#include "fakes/faketools.h"
#include "support/pavlettest.h"
#include "support/qtprinters.h"
#include "tools/calculatorengine.h"
#include "tools/mediadownloadengine.h"
#include "tools/pocketstore.h"
#include "tools/speedtestengine.h"
#include "tools/translatorengine.h"

#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlEngine>

// The tool views read the engines from QML: the readout gadget, the scoped
// enumerations (Tools.CalcOp.div), optional results as null, the pocket's
// list model.
class ToolsQmlTest : public PavletTest {};

TEST_F(ToolsQmlTest, EngineValuesReadFromQml)
{
    CalculatorEngine calc;
    SpeedTestEngine speed(&clock, scheduler.get());
    FakeClipboard clipboard;
    TranslatorEngine translator(&clipboard);
    FakeToolLocator tools;
    FakeProcessRunner runner;
    MediaDownloadEngine youtube(Tools::MediaKind::youtube, &tools, &runner, tmp.path());
    PocketStore pocket(defaults.get(), &clock, &clipboard, tempPath("pocket"), tmp.path());

    QQmlEngine qml;
    qml.addImportPath(QStringLiteral("qrc:/qt/qml"));
    qml.rootContext()->setContextProperty("calc", &calc);
    qml.rootContext()->setContextProperty("speed", &speed);
    qml.rootContext()->setContextProperty("translator", &translator);
    qml.rootContext()->setContextProperty("youtube", &youtube);
    qml.rootContext()->setContextProperty("pocket", &pocket);

    QQmlComponent component(&qml);
    component.setData(R"(
import QtQml
import Pavlet
QtObject {
    property bool digits: calc.readout.kind === CalcReadoutKind.ReadoutKind.digits
    property bool fraction: calc.readout.kind === CalcReadoutKind.ReadoutKind.fraction
    property string stacked: calc.readout.whole + " " + calc.readout.num + "/" + calc.readout.den
    property bool idle: speed.phase === Tools.SpeedTestPhase.idle && speed.pingMS === null && speed.remaining === 20
    property string pair: translator.pairLabel + "|" + translator.languages.length + "|" + translator.languages[8].id
    property bool threeFormats: youtube.formats.length === 3 && youtube.formats[1] === Tools.MediaSaveFormat.mp3 && youtube.formatLabel(youtube.formats[2]) === "MOV"
    property int held: pocket.items.count
    function press() { calc.pressDigit(7); calc.pressOp(Tools.CalcOp.div); calc.pressDigit(2); calc.pressKey(Tools.CalcKeyKind.equals) }
}
)",
                      QUrl());
    std::unique_ptr<QObject> object(component.create());
    ASSERT_TRUE(object) << component.errorString().toStdString();
    EXPECT_TRUE(object->property("digits").toBool());
    EXPECT_TRUE(object->property("idle").toBool());
    EXPECT_EQ(object->property("pair").toString(), "Detect \u2192 Spanish|11|zh-CN");
    EXPECT_TRUE(object->property("threeFormats").toBool());
    EXPECT_EQ(object->property("held").toInt(), 0);

    QMetaObject::invokeMethod(object.get(), "press");
    EXPECT_EQ(calc.display(), "3 1/2");
    EXPECT_TRUE(object->property("fraction").toBool());
    EXPECT_EQ(object->property("stacked").toString(), "3 1/2");
}
