#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QQuickItem>
#include <QtQml/qqmlregistration.h>

// Lets a scrollable that sits inside another (a text field's scroll view in
// a list of cards, a list in a page) hand the wheel on to the one around it
// when it has nothing left to scroll that way: at its top for the wheel up,
// at its bottom for the wheel down, and either way with all of it in sight.
// Left alone, a scroll view keeps every turn of the wheel it is under, and
// the page around it stops as soon as it passes under the pointer.
class WheelPassOn : public QObject {
    Q_OBJECT
    QML_ELEMENT
    // The inner scrollable: a Flickable (a ListView, …) or a ScrollView.
    Q_PROPERTY(QQuickItem *view READ view WRITE setView NOTIFY viewChanged)

public:
    explicit WheelPassOn(QObject *parent = nullptr);

    QQuickItem *view() const { return m_view; }
    void setView(QQuickItem *view);

    // Whether a flickable would move for a turn of the wheel by angle
    // (positive: up or left, as the wheel reports it).
    static bool canScroll(const QObject *flickable, QPoint angle);

signals:
    void viewChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private slots:
    // A scroll view makes its flickable when its content comes.
    void findFlickable();

private:
    QPointer<QQuickItem> m_view;
    QPointer<QQuickItem> m_flickable;
};
