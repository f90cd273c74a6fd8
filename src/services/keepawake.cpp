#include "keepawake.h"

#include <QCoreApplication>

KeepAwake::KeepAwake(platform::IDisplaySleepInhibitor *inhibitor, QObject *parent)
    : QObject(parent)
    , m_owned(inhibitor ? nullptr : platform::createDisplaySleepInhibitor())
    , m_inhibitor(inhibitor ? inhibitor : m_owned.get())
{
    // The inhibition must not outlive the program: give it back at quit,
    // even when this object is destroyed only later or never.
    if (QCoreApplication *app = QCoreApplication::instance()) {
        connect(app, &QCoreApplication::aboutToQuit, this, [this] {
            if (m_isOn)
                toggle();
        });
    }
}

KeepAwake::~KeepAwake()
{
    if (m_isOn)
        m_inhibitor->release(m_assertionID);
}

void KeepAwake::toggle()
{
    if (m_isOn) {
        m_inhibitor->release(m_assertionID);
        m_assertionID = 0;
        m_isOn = false;
        emit isOnChanged();
        return;
    }
    const auto cookie = m_inhibitor->inhibit(Reason);
    if (!cookie)
        return;
    m_assertionID = *cookie;
    m_isOn = true;
    emit isOnChanged();
}
