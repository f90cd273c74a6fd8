#pragma once

#include <QObject>
#include <QPointer>
#include <QQuickItem>
#include <QString>
#include <QtQml/qqmlregistration.h>

class TimerStore;

// The timer row's typing: a tap opens the field with the current time, and
// Return, leaving the field or a press anywhere else in its window commits it
// once.
class TimerRowState : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_MOC_INCLUDE("services/timerstore.h")
    Q_PROPERTY(TimerStore *timer READ timer WRITE setTimer NOTIFY timerChanged)
    Q_PROPERTY(bool editing READ editing NOTIFY editingChanged)
    Q_PROPERTY(QString draft READ draft WRITE setDraft NOTIFY draftChanged)
    // The field being typed into; a press outside it commits.
    Q_PROPERTY(QQuickItem *field READ field WRITE setField NOTIFY fieldChanged)
public:
    using QObject::QObject;

    TimerStore *timer() const { return m_timer; }
    void setTimer(TimerStore *timer);
    bool editing() const { return m_editing; }
    QString draft() const { return m_draft; }
    void setDraft(const QString &draft);
    QQuickItem *field() const { return m_field; }
    void setField(QQuickItem *field);

    // A tap on the time: only while the timer is stopped.
    Q_INVOKABLE void begin();
    // Return or focus loss; a second commit finds nothing to do.
    Q_INVOKABLE void commit();

signals:
    void timerChanged();
    void editingChanged();
    void draftChanged();
    void fieldChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setEditing(bool editing);
    void runningChanged();
    // Watches the field's window for presses while typing, and only then.
    void watchPresses();

    TimerStore *m_timer = nullptr;
    bool m_editing = false;
    QString m_draft;
    QMetaObject::Connection m_running;
    QPointer<QQuickItem> m_field;
    QPointer<QWindow> m_watched;
};
