#include "islandqml.h"

#include "appsettings.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QQmlComponent>
#include <QQmlContext>
#include <QtQml/qqml.h>

namespace {
QStringList *capture = nullptr;
QtMessageHandler previous = nullptr;

void collect(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    const QString category = QString::fromLatin1(context.category ? context.category : "");
    const QString file = QString::fromLatin1(context.file ? context.file : "");
    if (capture && type >= QtWarningMsg
        && (category.startsWith(u"qml") || category.startsWith(u"js") || file.endsWith(u".qml")
            || message.contains(u".qml") || message.contains(u"QML")))
        capture->append(message);
    if (previous)
        previous(type, context, message);
}

const char *modelSource = R"(
import QtQuick
QtObject {
    property int state: 0
    property bool usesFloatingIsland: false
    property real notchHeight: 32
    property var ambient: null
    property var hud: null
    property var liveActivity: ({ kind: 4 })
    property var nowPlaying: ({ title: "", artist: "", isPlaying: false, source: 0, hasArtwork: false, artworkKey: "" })
    property var nextAssignment: null
    property var upcomingEvents: []
    property var weather: null
    property bool isEditingIsland: false
    property int islandEditPhase: 0
    property int islandEditPreview: 0
    property bool fileDropTargeted: false
    property bool gameModeOn: false
    property bool gameModeHover: false
    property bool gameModeToast: false
    property bool isPreviewingPlayer: false
    property bool isPreviewingTimer: false
    property bool isPreviewingAmbient: false
    property int showsAmbientOrCamera: 0
    property QtObject timer: QtObject { property bool isRunning: false }
    property QtObject camera: null
    property var settings: null
    property int pocketOpens: 0
    property int collapses: 0
    property var joined: null
    function openPocket() { pocketOpens++ }
    function collapse() { collapses++; state = 0 }
    function joinEvent(e) { joined = e }
}
)";
} // namespace

void IslandQmlTest::SetUp()
{
    PavletTest::SetUp();
    static const bool registered = [] {
        qmlRegisterSingletonType<PaletteDouble>("Pavlet", 1, 0, "IslandPalette",
                                                [](QQmlEngine *, QJSEngine *) -> QObject * { return new PaletteDouble; });
        return true;
    }();
    (void)registered;

    capture = &warnings;
    previous = qInstallMessageHandler(collect);
    engine = std::make_unique<QQmlEngine>();
    engine->addImportPath(QStringLiteral("qrc:/qt/qml"));
    QObject::connect(engine.get(), &QQmlEngine::warnings, engine.get(), [this](const QList<QQmlError> &list) {
        for (const QQmlError &e : list)
            warnings.append(e.toString());
    });
    settings = makeSettings();

    QQmlComponent component(engine.get());
    component.setData(modelSource, QUrl::fromLocalFile(tempPath(QStringLiteral("ModelDouble.qml"))));
    m_model.reset(component.create());
    ASSERT_TRUE(m_model) << component.errorString().toStdString();
    m_model->setProperty("settings", QVariant::fromValue<QObject *>(settings.get()));

    window = std::make_unique<QQuickWindow>();
    window->resize(400, 300);
    window->setColor(Qt::transparent);
}

std::unique_ptr<AppSettings> IslandQmlTest::makeSettings()
{
    if (!credentials)
        credentials = std::make_unique<CanvasCredentialStore>(&secrets, defaults.get(), tempPath("canvas-token"));
    return std::make_unique<AppSettings>(defaults.get(), nullptr, nullptr, credentials.get(), &notifications);
}

void IslandQmlTest::TearDown()
{
    qDeleteAll(m_items);
    m_items.clear();
    window.reset();
    m_model.reset();
    engine.reset();
    settings.reset();
    credentials.reset();
    qInstallMessageHandler(previous);
    capture = nullptr;
    PavletTest::TearDown();
}

QQuickItem *IslandQmlTest::load(const QString &file, const QVariantMap &properties)
{
    const QString path = file.contains(QLatin1Char('/')) ? file : QStringLiteral("island/") + file;
    QQmlComponent component(engine.get(), QUrl(QStringLiteral("qrc:/qt/qml/Pavlet/src/") + path));
    QObject *object = component.createWithInitialProperties(properties);
    if (!object) {
        ADD_FAILURE() << component.errorString().toStdString();
        return nullptr;
    }
    auto *item = qobject_cast<QQuickItem *>(object);
    if (!item) {
        delete object;
        ADD_FAILURE() << "not an item: " << file.toStdString();
        return nullptr;
    }
    item->setParentItem(window->contentItem());
    if (item->width() <= 0)
        item->setSize(window->size());
    m_items.append(item);
    return item;
}

QVariantMap IslandQmlTest::withModel(QVariantMap properties, bool withSettings) const
{
    properties.insert(QStringLiteral("model"), QVariant::fromValue(m_model.get()));
    if (withSettings)
        properties.insert(QStringLiteral("settings"), QVariant::fromValue<QObject *>(settings.get()));
    return properties;
}

void IslandQmlTest::spin(int ms)
{
    QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

QQuickItem *IslandQmlTest::findItem(QQuickItem *root, const char *type) const
{
    if (!root)
        return nullptr;
    for (QQuickItem *child : root->childItems()) {
        if (QString::fromLatin1(child->metaObject()->className()).startsWith(QLatin1String(type)))
            return child;
        if (QQuickItem *found = findItem(child, type))
            return found;
    }
    return nullptr;
}
