#pragma once

#include "platform/displaysleepinhibitor.h"

#include <QObject>
#include <QtQml/qqmlregistration.h>
#include <memory>

// Keeps the display awake while on. Nothing is kept across launches; the
// inhibition is released when this object goes and at quit.
class KeepAwake : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("The island owns keep-awake")
    Q_PROPERTY(bool isOn READ isOn NOTIFY isOnChanged)
    // The last request found nothing that keeps the machine awake; cleared
    // by the next toggle.
    Q_PROPERTY(bool failed READ failed NOTIFY failedChanged)
public:
    static inline const QString Reason = QStringLiteral("Pavlet keep awake");

    explicit KeepAwake(platform::IDisplaySleepInhibitor *inhibitor, QObject *parent = nullptr);
    ~KeepAwake() override;

    bool isOn() const { return m_isOn; }
    quint32 assertionID() const { return m_assertionID; }
    bool failed() const { return m_failed; }

    // Off: asks for an inhibition and turns on once it is granted. On (or
    // still asking): turns off.
    Q_INVOKABLE void toggle();

signals:
    void isOnChanged();
    void failedChanged();

private:
    void setFailed(bool failed);

    platform::IDisplaySleepInhibitor *m_inhibitor;
    bool m_isOn = false;
    bool m_failed = false;
    quint32 m_assertionID = 0;
    // An inhibition asked for and not answered yet; whether it is still wanted.
    bool m_asking = false;
    bool m_wanted = false;
};
