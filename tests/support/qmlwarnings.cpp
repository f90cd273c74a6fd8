#include "support/qmlwarnings.h"

#include <QMutex>
#include <gtest/gtest.h>

namespace {

QMutex mutex;
QStringList all;
QStringList expected;
QtMessageHandler previous = nullptr;

void handle(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if ((type == QtWarningMsg || type == QtCriticalMsg) && QmlWarnings::isOwn(message, context.file)) {
        bool tolerated = false;
        {
            QMutexLocker lock(&mutex);
            all << message;
            for (const QString &part : std::as_const(expected))
                tolerated = tolerated || message.contains(part);
        }
        if (!tolerated && ::testing::UnitTest::GetInstance()->current_test_info())
            ADD_FAILURE() << "QML warning: " << message.toStdString();
    }
    if (previous)
        previous(type, context, message);
}

} // namespace

namespace QmlWarnings {

void install()
{
    previous = qInstallMessageHandler(handle);
}

bool isOwn(const QString &message, const char *file)
{
    static const QString own = QStringLiteral("qrc:/qt/qml/Pavlet/");
    if (message.contains(own) || (file && QByteArray(file).contains("qrc:/qt/qml/Pavlet/")))
        return true;
    // Complaints Qt Quick prints without naming the file.
    static const char *const quick[] = {"QQuickItem::stackBefore", "QQuickItem::stackAfter", "Binding loop detected",
                                        "QML ", "Qt Quick Layouts:", "TypeError:", "ReferenceError:"};
    for (const char *part : quick) {
        if (message.contains(QLatin1String(part)))
            return true;
    }
    return false;
}

QStringList seen()
{
    QMutexLocker lock(&mutex);
    return all;
}

Expected::Expected(const QString &part)
{
    QMutexLocker lock(&mutex);
    expected << part;
}

Expected::~Expected()
{
    QMutexLocker lock(&mutex);
    expected.removeLast();
}

} // namespace QmlWarnings
