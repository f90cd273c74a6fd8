#include "keepawake.h"

KeepAwake::KeepAwake(platform::IDisplaySleepInhibitor *inhibitor, QObject *parent)
    : QObject(parent)
    , m_inhibitor(inhibitor)
{
}

KeepAwake::~KeepAwake() = default;

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
