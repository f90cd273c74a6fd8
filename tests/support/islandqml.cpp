#include "support/islandqml.h"

#include "island/animationclock.h"
#include "island/islandpalette.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QQmlComponent>

namespace {
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

void IslandViewTest::SetUp()
{
    PavletTest::SetUp();
    IslandPalette::setDefaults(&qml.engine(), defaults.get());
    AnimationClock::setSource(&qml.engine(), &clock, scheduler.get());
    credentials = std::make_unique<CanvasCredentialStore>(&secrets, defaults.get(), tempPath("canvas-token"));
    settings = std::make_unique<AppSettings>(defaults.get(), nullptr, nullptr, credentials.get(), &notifications);

    QQmlComponent component(&qml.engine());
    component.setData(modelSource, QUrl::fromLocalFile(tempPath(QStringLiteral("ModelDouble.qml"))));
    m_model.reset(component.create());
    ASSERT_TRUE(m_model) << component.errorString().toStdString();
    m_model->setProperty("settings", QVariant::fromValue<QObject *>(settings.get()));

    window = std::make_unique<QQuickWindow>();
    window->resize(400, 300);
    window->setColor(Qt::transparent);
}

void IslandViewTest::TearDown()
{
    qDeleteAll(m_items);
    m_items.clear();
    window.reset();
    m_model.reset();
    settings.reset();
    credentials.reset();
    PavletTest::TearDown();
}

QQuickItem *IslandViewTest::load(const QString &file, const QVariantMap &properties)
{
    const QString path = file.contains(QLatin1Char('/')) ? file : QStringLiteral("island/") + file;
    std::unique_ptr<QObject> object = qml.create(path, properties);
    if (!object) {
        ADD_FAILURE() << qml.warnings().join('\n').toStdString();
        return nullptr;
    }
    auto *item = qobject_cast<QQuickItem *>(object.get());
    if (!item) {
        ADD_FAILURE() << "not an item: " << file.toStdString();
        return nullptr;
    }
    object.release();
    item->setParentItem(window->contentItem());
    if (item->width() <= 0)
        item->setSize(window->size());
    m_items.append(item);
    return item;
}

QStringList IslandViewTest::warnings() const
{
    QStringList list = qml.warnings();
    list.removeIf([](const QString &w) { return w.startsWith(QLatin1String("This plugin does not support")); });
    return list;
}

QVariantMap IslandViewTest::withModel(QVariantMap properties, bool withSettings) const
{
    properties.insert(QStringLiteral("model"), QVariant::fromValue(m_model.get()));
    if (withSettings)
        properties.insert(QStringLiteral("settings"), QVariant::fromValue<QObject *>(settings.get()));
    return properties;
}

void IslandViewTest::spin(int ms)
{
    QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

QQuickItem *IslandViewTest::findItem(QQuickItem *root, const char *type) const
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
