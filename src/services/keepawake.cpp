#include "services/keepawake.h"

#include <QCoreApplication>
#include <QPointer>

KeepAwake::KeepAwake(platform::IDisplaySleepInhibitor *inhibitor, QObject *parent)
    : QObject(parent)
    , m_inhibitor(inhibitor)
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

void KeepAwake::setFailed(bool failed)
{
    if (m_failed != failed) {
        m_failed = failed;
        emit failedChanged();
    }
}

void KeepAwake::toggle()
{
    setFailed(false);
    if (m_isOn) {
        m_inhibitor->release(m_assertionID);
        m_assertionID = 0;
        m_isOn = false;
        emit isOnChanged();
        return;
    }
    if (m_asking) {
        m_wanted = !m_wanted;
        return;
    }
    m_asking = true;
    m_wanted = true;
    QPointer<KeepAwake> self(this);
    m_inhibitor->inhibit(Reason, [self](std::optional<quint32> cookie) {
        if (!self)
            return;
        self->m_asking = false;
        if (!cookie) {
            // Nothing holds the machine awake: the switch stays off and says so.
            if (self->m_wanted)
                self->setFailed(true);
            return;
        }
        if (!self->m_wanted) {
            // Turned off again while asking.
            self->m_inhibitor->release(*cookie);
            return;
        }
        self->m_assertionID = *cookie;
        self->m_isOn = true;
        emit self->isOnChanged();
    });
}
