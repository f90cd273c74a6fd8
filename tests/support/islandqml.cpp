#include "support/islandqml.h"

#include "app/accentsetting.h"
#include "look/animationclock.h"
#include "style/accent.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

void IslandViewTest::SetUp()
{
    IslandTest::SetUp();
    showAccentSetting(&fakes->settings, Accent::forEngine(&qml.engine()));
    AnimationClock::setSource(&qml.engine(), &clock, scheduler.get());
    make();
    window = std::make_unique<QQuickWindow>();
    window->resize(400, 300);
    window->setColor(Qt::transparent);
}

void IslandViewTest::TearDown()
{
    qDeleteAll(m_items);
    m_items.clear();
    window.reset();
    IslandTest::TearDown();
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

QVariantMap IslandViewTest::withModel(QVariantMap properties) const
{
    properties.insert(QStringLiteral("model"), QVariant::fromValue<QObject *>(model.get()));
    properties.insert(QStringLiteral("settings"), QVariant::fromValue<QObject *>(&fakes->settings));
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
