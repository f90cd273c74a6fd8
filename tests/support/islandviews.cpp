#include "support/islandviews.h"

#include "home/homeparts.h"
#include "island/notchviewmodel.h"
#include "store/appsettings.h"

#include <QHash>
#include <QQmlComponent>

namespace {
// The table's entry of each panel file.
const QHash<QString, QString> &entries()
{
    static const QHash<QString, QString> table = {
        {QStringLiteral("home/HomePanel.qml"), QStringLiteral("home")},
        {QStringLiteral("canvas/CanvasPanel.qml"), QStringLiteral("canvas")},
        {QStringLiteral("games/GamesPanel.qml"), QStringLiteral("games")},
        {QStringLiteral("tools/CalculatorPanel.qml"), QStringLiteral("calculator")},
        {QStringLiteral("tools/PocketPanel.qml"), QStringLiteral("pocket")},
        {QStringLiteral("media/VoiceMemosPanel.qml"), QStringLiteral("voice")},
        {QStringLiteral("tools/TranslatorPanel.qml"), QStringLiteral("translator")},
        {QStringLiteral("update/UpdatePanel.qml"), QStringLiteral("update")},
    };
    return table;
}

QVariant object(QObject *o) { return QVariant::fromValue(o); }
} // namespace

IslandViews::IslandViews(QmlLoader &qml, NotchViewModel *model, AppSettings *settings, HomeParts *homeParts)
    : m_qml(qml)
    , m_model(model)
    , m_settings(settings)
    , m_homeParts(homeParts)
    , m_table(qml.create(QStringLiteral("notch/IslandPanelTable.qml"),
                         {{QStringLiteral("model"), object(model)},
                          {QStringLiteral("settings"), object(settings)},
                          {QStringLiteral("homeParts"), object(homeParts)}}))
{
}

IslandViews::~IslandViews() = default;

std::unique_ptr<QObject> IslandViews::create(const QString &pathUnderSrc, QVariantMap properties)
{
    const QString entry = entries().value(pathUnderSrc);
    if (entry.isEmpty() || !m_table) {
        properties.insert(QStringLiteral("model"), object(m_model));
        properties.insert(QStringLiteral("settings"), object(m_settings));
        if (pathUnderSrc == QLatin1String("notch/NotchIsland.qml"))
            properties.insert(QStringLiteral("homeParts"), object(m_homeParts));
        return m_qml.create(pathUnderSrc, properties);
    }
    auto *component = m_table->property(entry.toLatin1().constData()).value<QQmlComponent *>();
    if (!component)
        return nullptr;
    // In the table's own context, where its inputs are.
    std::unique_ptr<QObject> made(component->createWithInitialProperties(properties, component->creationContext()));
    if (!made)
        qWarning("%s", qPrintable(component->errorString()));
    return made;
}
