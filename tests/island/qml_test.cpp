#include "islandpalette.h"
#include "pavlettest.h"
#include "qmltest.h"

#include <QColor>
#include <QQuickItem>

class IslandQmlTest : public PavletTest {
protected:
    void SetUp() override
    {
        PavletTest::SetUp();
        IslandPalette::setDefaults(&qml.engine(), defaults.get());
    }
    QmlLoader qml;
};

TEST_F(IslandQmlTest, EveryChromeFileLoadsWithoutWarnings)
{
    for (const char *file : {"island/HangShape.qml", "island/IslandShape.qml", "island/IslandPressStyle.qml",
                             "island/IslandIconButton.qml", "notch/GameModeToast.qml"}) {
        auto object = qml.create(QString::fromLatin1(file));
        EXPECT_TRUE(object) << file;
    }
    EXPECT_TRUE(qml.warnings().isEmpty()) << qml.warnings().join('\n').toStdString();
}
