#pragma once

#include "island/notchviewmodel.h"
#include "tools/zipengine.h"

#include <QObject>
#include <QtQml/qqmlregistration.h>

// What the Home panel reads besides the island's model: the settings, the
// permissions and defaults its cards are gated by, the notices it follows,
// and the parts its tool cards' engines are made from. The composition root
// makes one over what the island is built from. Main thread only.
class HomeParts : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("The composition root makes the Home panel's parts")

public:
    explicit HomeParts(const IslandEnvironment &env, QObject *parent = nullptr)
        : QObject(parent)
        , m_env(env)
    {
    }

    AppSettings *settings() const { return m_env.settings; }
    PermissionCenter *permissions() const { return m_env.permissions; }
    UserDefaults *defaults() const { return m_env.defaults; }
    AppNotifications *notifications() const { return m_env.notifications; }
    const IslandEnvironment &environment() const { return m_env; }

    // The zip card's engine, made on first use and kept from then on: a zip
    // that ends while Home is closed says what it saved, or why it did not,
    // when Home opens next. Null where the machine cannot zip.
    ZipEngine *zipEngine()
    {
        if (!m_zip && m_env.platform.zipper && m_env.platform.filePicker)
            m_zip = new ZipEngine(m_env.platform.zipper, m_env.platform.filePicker, m_env.clock,
                                  m_env.downloadsFolder, QLocale(), this);
        return m_zip;
    }

private:
    IslandEnvironment m_env;
    ZipEngine *m_zip = nullptr;
};
