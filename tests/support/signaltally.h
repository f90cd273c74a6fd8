#pragma once

#include <QMetaMethod>
#include <QObject>
#include <QSignalSpy>
#include <QString>
#include <map>
#include <memory>
#include <string>
#include <vector>

// Counts every signal the watched objects send, by "name.signal" (QObject's
// own signals aside).
class SignalTally {
public:
    void watch(const QObject *object, const QString &name)
    {
        const QMetaObject *meta = object->metaObject();
        for (int i = QObject::staticMetaObject.methodCount(); i < meta->methodCount(); ++i) {
            const QMetaMethod method = meta->method(i);
            if (method.methodType() == QMetaMethod::Signal)
                m_spies.push_back({name + QLatin1Char('.') + QString::fromLatin1(method.name()),
                                   std::make_unique<QSignalSpy>(object, method)});
        }
    }

    // The signals sent since the last clear, with how often; of the objects
    // whose name starts with prefix, when given.
    std::map<std::string, int> counts(const QString &prefix = {}) const
    {
        std::map<std::string, int> out;
        for (const auto &[name, spy] : m_spies) {
            if (spy->count() > 0 && name.startsWith(prefix))
                out[name.toStdString()] += int(spy->count());
        }
        return out;
    }

    void clear()
    {
        for (auto &entry : m_spies)
            entry.spy->clear();
    }

private:
    struct Entry {
        QString name;
        std::unique_ptr<QSignalSpy> spy;
    };
    std::vector<Entry> m_spies;
};
