#include "look/animationclock.h"
#include "look/islandshadow.h"
#include "home/homemodel.h"
#include "island/hovercontent.h"
#include "island/islandlook.h"
#include "style/accent.h"
#include "style/palette.h"
#include "support/islandqml.h"
#include "support/pavlettest.h"
#include "support/qmltest.h"

#include <QColor>
#include <QCoreApplication>
#include <QDirIterator>
#include <QFile>
#include <QMetaProperty>
#include <QQmlComponent>
#include <QQuickItem>
#include <QQuickWindow>
#include <QRectF>
#include <QRegularExpression>

#include <functional>

namespace {
// The island window as its content view sees it.
class PanelDouble : public QObject {
    Q_OBJECT
    Q_PROPERTY(QRectF islandRect MEMBER islandRect CONSTANT)
    Q_PROPERTY(double cornerRadius MEMBER cornerRadius CONSTANT)
    Q_PROPERTY(bool floating MEMBER floating CONSTANT)
public:
    QRectF islandRect{60, 0, 264, 48};
    double cornerRadius = 10;
    bool floating = false;
    Q_INVOKABLE bool dragEnter(const QList<QUrl> &) { return false; }
    Q_INVOKABLE void dragExit() {}
    Q_INVOKABLE bool drop(const QList<QUrl> &) { return false; }
};

// The required properties of a file's root object, as "type name" pairs:
// the declarations at the first level of its braces, and those its root
// type's file (read by read) declares and the file does not bind.
QList<QPair<QString, QString>> rootRequiredProperties(const QString &source,
                                                      const std::function<QString(const QString &)> &read)
{
    static const QRegularExpression declaration(QStringLiteral(R"(^\s*required\s+property\s+(\S+)\s+(\w+))"));
    static const QRegularExpression rootType(QStringLiteral(R"(^\s*([A-Z]\w*)\s*\{)"));
    static const QRegularExpression binding(QStringLiteral(R"(^\s*(\w+)\s*:)"));
    QList<QPair<QString, QString>> found;
    QString base;
    QStringList bound;
    int depth = 0;
    for (const QString &line : source.split(QLatin1Char('\n'))) {
        const QString code = line.section(QStringLiteral("//"), 0, 0);
        if (depth == 0 && base.isEmpty()) {
            if (const auto match = rootType.match(code); match.hasMatch())
                base = match.captured(1);
        } else if (depth == 1) {
            if (const auto match = declaration.match(code); match.hasMatch())
                found.append({match.captured(1), match.captured(2)});
            else if (const auto match = binding.match(code); match.hasMatch())
                bound << match.captured(1);
        }
        depth += int(code.count(QLatin1Char('{'))) - int(code.count(QLatin1Char('}')));
    }
    if (const QString baseSource = base.isEmpty() ? QString() : read(base); !baseSource.isEmpty()) {
        for (const auto &inherited : rootRequiredProperties(baseSource, read)) {
            if (!bound.contains(inherited.second))
                found.append(inherited);
        }
    }
    return found;
}
} // namespace

// Every QML file of the module compiles without a warning, and every file
// whose required inputs the test can give (the island's model, the settings,
// what the model owns, a HUD look, the island window) is made and runs for a
// moment without one.
TEST_F(IslandViewTest, EveryFileOfTheModuleLoadsCleanly)
{
    // The window outlives the views it holds.
    auto *panel = new PanelDouble;
    panel->setParent(window.get());
    auto *home = new HomeModel(window.get());
    home->setModel(model.get());
    home->setParts(homeParts.get());
    QHash<QString, QVariant> inputs = {
        {QStringLiteral("NotchViewModel"), QVariant::fromValue<QObject *>(model.get())},
        {QStringLiteral("AppSettings"), QVariant::fromValue<QObject *>(&fakes->settings)},
        {QStringLiteral("HomeParts"), QVariant::fromValue<QObject *>(homeParts.get())},
        {QStringLiteral("IslandLook"), QVariant::fromValue<QObject *>(model->look())},
        {QStringLiteral("hudLook"), QVariant::fromValue(HoverContent::hudLook(SystemHUDKind::volume, 0.5, false))},
        {QStringLiteral("QtObject"), QVariant::fromValue<QObject *>(panel)},
        {QStringLiteral("HomeModel"), QVariant::fromValue<QObject *>(home)},
    };
    // And every engine and store the model owns, by its class.
    const QMetaObject *meta = model->metaObject();
    for (int i = 0; i < meta->propertyCount(); ++i) {
        const QMetaProperty property = meta->property(i);
        const QString type = QString::fromLatin1(property.typeName());
        if (property.isConstant() && type.endsWith(QLatin1Char('*')))
            inputs.insert(type.chopped(1), property.read(model.get()));
    }
    const QString root = QStringLiteral(":/qt/qml/Pavlet/src");
    QStringList files;
    QDirIterator it(root, {QStringLiteral("*.qml")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next().mid(root.size() + 1);
    files.sort();
    ASSERT_TRUE(files.contains("island/NotchView.qml")) << files.join(' ').toStdString();

    // A file's source by its type's name; empty for a type of no file here.
    auto sourceOf = [&](const QString &type) {
        for (const QString &file : files) {
            if (file.section(QLatin1Char('/'), -1) == type + QStringLiteral(".qml")) {
                QFile source(root + QLatin1Char('/') + file);
                return source.open(QIODevice::ReadOnly) ? QString::fromUtf8(source.readAll()) : QString();
            }
        }
        return QString();
    };

    QStringList made;
    std::vector<std::unique_ptr<QObject>> objects;
    for (const QString &file : files) {
        QFile source(root + QLatin1Char('/') + file);
        ASSERT_TRUE(source.open(QIODevice::ReadOnly)) << file.toStdString();
        QQmlComponent component(engine(), QmlLoader::url(file));
        ASSERT_TRUE(component.isReady()) << file.toStdString() << component.errorString().toStdString();

        QVariantMap properties;
        bool known = true;
        for (const auto &[type, name] : rootRequiredProperties(QString::fromUtf8(source.readAll()), sourceOf)) {
            known = known && inputs.contains(type);
            properties.insert(name, inputs.value(type));
        }
        if (!known)
            continue;
        std::unique_ptr<QObject> object = qml.create(file, properties);
        ASSERT_TRUE(object) << file.toStdString() << qml.warnings().join('\n').toStdString();
        if (auto *item = qobject_cast<QQuickItem *>(object.get())) {
            item->setParentItem(window->contentItem());
            if (item->width() <= 0)
                item->setSize(window->size());
        }
        objects.push_back(std::move(object));
        made << file;
    }
    // The views and decorations run for a moment on the animation clock.
    for (int i = 0; i < 10; ++i) {
        advance(16);
        QCoreApplication::processEvents();
    }
    EXPECT_TRUE(made.contains("island/NotchView.qml"));
    EXPECT_TRUE(made.contains("notch/NotchPanelContent.qml"));
    EXPECT_TRUE(made.contains("media/CameraPreview.qml"));
    // Every module's card, with what Home hands it.
    for (const QString &file : files) {
        if (file.startsWith(QLatin1String("home/modules/"))) {
            EXPECT_TRUE(made.contains(file)) << file.toStdString();
        }
    }
    EXPECT_TRUE(warnings().isEmpty()) << warnings().join('\n').toStdString();
}


class IslandQmlTest : public PavletTest {
protected:
    void SetUp() override
    {
        PavletTest::SetUp();
        AnimationClock::setSource(&qml.engine(), &clock, scheduler.get());
    }
    QmlLoader qml;
};

TEST_F(IslandQmlTest, ToastTextsFollowTheLock)
{
    auto toast = qml.create("island/GameModeToast.qml", {{"isOn", true}});
    ASSERT_TRUE(toast);
    auto *title = toast->findChild<QObject *>("title");
    auto *detail = toast->findChild<QObject *>("detail");
    EXPECT_EQ(title->property("text").toString(), "Pavlet Lock is on");
    EXPECT_EQ(detail->property("text").toString(), "Ctrl+Alt+G turns it off");
    toast->setProperty("isOn", false);
    EXPECT_EQ(title->property("text").toString(), "Pavlet Lock is off");
    EXPECT_EQ(detail->property("text").toString(), "Ctrl+Alt+G turns it on");
    // The title takes the custom accent when it is turned on.
    EXPECT_EQ(title->property("color").value<QColor>().rgb(), Palette::yellowColor.rgb());
    // (The accent's first setting shows at once.)
    Accent::forEngine(&qml.engine())->show(true, Palette::skyColor);
    EXPECT_EQ(title->property("color").value<QColor>().rgb(), Palette::skyColor.rgb());
    EXPECT_TRUE(qml.warnings().isEmpty()) << qml.warnings().join('\n').toStdString();
}

TEST_F(IslandQmlTest, ShapesClampTheirRadius)
{
    auto shape = qml.create("island/IslandShape.qml",
                            {{"width", 96}, {"height", 32}, {"cornerRadius", 40}, {"floating", true}});
    ASSERT_TRUE(shape);
    EXPECT_EQ(shape->property("effectiveRadius").toDouble(), 16);
    shape->setProperty("cornerRadius", -4);
    EXPECT_EQ(shape->property("effectiveRadius").toDouble(), 0);
    auto hang = qml.create("look/HangShape.qml", {{"width", 200}, {"height", 20}, {"cornerRadius", 30}});
    ASSERT_TRUE(hang);
    EXPECT_EQ(hang->property("r").toDouble(), 10);
    EXPECT_TRUE(qml.warnings().isEmpty()) << qml.warnings().join('\n').toStdString();
}

TEST_F(IslandQmlTest, IconButtonIsA22PointCircleThatShrinksWhilePressed)
{
    auto button = qml.create("look/IslandIconButton.qml", {{"systemName", "xmark"}, {"help", "Close"}});
    ASSERT_TRUE(button);
    auto *item = qobject_cast<QQuickItem *>(button.get());
    EXPECT_EQ(item->implicitWidth(), 22);
    EXPECT_EQ(item->implicitHeight(), 22);
    auto press = qml.create("look/IslandPressStyle.qml", {{"pressed", true}});
    ASSERT_TRUE(press);
    auto *body = qobject_cast<QQuickItem *>(press.get())->childItems().value(0);
    ASSERT_TRUE(body);
    // The spring is on its way to 0.96 / 0.86.
    EXPECT_TRUE(waitUntil([&] { return std::abs(body->scale() - 0.96) < 0.01; }, 2000));
    EXPECT_TRUE(waitUntil([&] { return std::abs(body->opacity() - 0.86) < 0.01; }, 2000));
    EXPECT_TRUE(qml.warnings().isEmpty()) << qml.warnings().join('\n').toStdString();
}

// The shadow's nine pieces tile the item whole at any size, the corners
// unstretched; drawn, it is darkest in the middle and fades to nothing at
// every edge, and it follows a resize without a new blur.
TEST_F(IslandQmlTest, ShadowPiecesTileTheItemAndFadeOutAtTheEdges)
{
    for (const QSizeF size : {QSizeF(200, 100), QSizeF(61, 43), QSizeF(640, 30)}) {
        const int blur = 10, radius = std::min<int>(5, int(size.height()) / 2 - blur);
        const QList<IslandShadow::Piece> parts = IslandShadow::pieces(size, 2 * radius + 4 + 2 * blur, radius, blur);
        double area = 0;
        for (const auto &p : parts) {
            area += p.target.width() * p.target.height();
            EXPECT_TRUE(QRectF(QPointF(0, 0), size).contains(p.target));
        }
        EXPECT_NEAR(area, size.width() * size.height(), 0.01);
        if (size.height() >= 2 * (blur + radius + 1)) {
            EXPECT_EQ(parts.first().target.size(), parts.first().source.size());
        }
    }

    // Drawn black over white: the darker, the more shadow.
    QQuickWindow window;
    window.resize(320, 200);
    window.setColor(Qt::white);
    IslandShadow shadow(window.contentItem());
    shadow.setBlurRadius(10);
    shadow.setCornerRadius(16);
    shadow.setColor(QColor(0, 0, 0, 102));
    window.show();
    for (const QSize size : {QSize(200, 100), QSize(300, 140)}) {
        shadow.setSize(size);
        const QImage image = window.grabWindow();
        const int cy = size.height() / 2;
        EXPECT_NEAR(qRed(image.pixel(size.width() / 2, cy)), 255 - 102, 4);
        EXPECT_GE(qRed(image.pixel(0, cy)), 247);
        EXPECT_GE(qRed(image.pixel(size.width() - 1, cy)), 247);
        EXPECT_GE(qRed(image.pixel(size.width() / 2, 0)), 247);
        int last = 256;
        for (int x = 0; x <= 20; ++x) {
            const int r = qRed(image.pixel(x, cy));
            EXPECT_LE(r, last) << "at x = " << x;
            last = r;
        }
        EXPECT_EQ(qRed(image.pixel(size.width() + 5, cy)), 255);
    }
}

#include "qml_test.moc"
