#include "support/qmltest.h"

#include <QMutex>
#include <QQmlComponent>

namespace {
QMutex mutex;
QStringList collected;
QtMessageHandler previous = nullptr;

void collect(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtWarningMsg || type == QtCriticalMsg || type == QtFatalMsg) {
        QMutexLocker lock(&mutex);
        collected << message;
    }
    if (previous)
        previous(type, context, message);
}
} // namespace

QmlLoader::QmlLoader()
{
    previous = qInstallMessageHandler(collect);
    clearWarnings();
    m_engine.addImportPath(QStringLiteral("qrc:/qt/qml"));
}

QmlLoader::~QmlLoader()
{
    qInstallMessageHandler(previous);
    previous = nullptr;
}

QUrl QmlLoader::url(const QString &pathUnderSrc)
{
    return QUrl(QStringLiteral("qrc:/qt/qml/Pavlet/src/") + pathUnderSrc);
}

std::unique_ptr<QObject> QmlLoader::create(const QString &pathUnderSrc, const QVariantMap &properties)
{
    QQmlComponent component(&m_engine, url(pathUnderSrc));
    if (!component.isReady()) {
        QMutexLocker lock(&mutex);
        collected << component.errorString();
        return nullptr;
    }
    std::unique_ptr<QObject> object(component.createWithInitialProperties(properties));
    if (!object) {
        QMutexLocker lock(&mutex);
        collected << component.errorString();
    }
    return object;
}

QStringList QmlLoader::warnings() const
{
    QMutexLocker lock(&mutex);
    return collected;
}

void QmlLoader::clearWarnings()
{
    QMutexLocker lock(&mutex);
    collected.clear();
}
