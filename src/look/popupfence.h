#pragma once

#include <QHash>
#include <QMarginsF>
#include <QObject>
#include <QPointer>
#include <QQuickItem>
#include <QQuickWindow>
#include <QRectF>
#include <QtQml/qqmlregistration.h>

// Keeps every popup a window shows (tooltips, menus, a combo box's list)
// inside one rectangle of that window. A window cut to a shape smaller than
// itself would otherwise place its popups as if the whole window were
// theirs, and the window system would cut them at the shape's edge.
//
// The popups keep their own placement: the fence gives each one margins for
// the time it shows, so that it is shifted, flipped or shrunk to fit as a
// popup at a window's edge is. It watches the window's popup layer, so a
// popup needs nothing of its own to be fenced, and a popup that moves on to
// another window (the one tooltip every window shares) gets its own margins
// back when it leaves.
class PopupFence : public QObject {
    Q_OBJECT
    QML_ELEMENT
    // The window whose popups are fenced.
    Q_PROPERTY(QQuickWindow *window READ window WRITE setWindow NOTIFY windowChanged)
    // Where popups may lie, in window coordinates.
    Q_PROPERTY(QRectF bounds READ bounds WRITE setBounds NOTIFY boundsChanged)
    // The rounding of the bounds' corners: popups keep clear of it.
    Q_PROPERTY(double cornerRadius READ cornerRadius WRITE setCornerRadius NOTIFY cornerRadiusChanged)

public:
    explicit PopupFence(QObject *parent = nullptr);
    ~PopupFence() override;

    QQuickWindow *window() const { return m_window; }
    void setWindow(QQuickWindow *window);
    QRectF bounds() const { return m_bounds; }
    void setBounds(const QRectF &bounds);
    double cornerRadius() const { return m_cornerRadius; }
    void setCornerRadius(double radius);

    // The margins that keep a popup inside bounds, rounded corners of
    // radius included, in a window of size window.
    static QMarginsF marginsFor(const QRectF &bounds, double cornerRadius, const QSizeF &window);
    // The topmost open popup of the window that Escape closes (a menu, a
    // list), or null. Tooltips are not counted: they come and go with the
    // pointer, and nobody closes one with a key.
    static QObject *popupEscapeCloses(QQuickWindow *window);

signals:
    void windowChanged();
    void boundsChanged();
    void cornerRadiusChanged();

private:
    // The window's popup layer comes with its first popup.
    void findOverlay();
    void setOverlay(QQuickItem *overlay);
    // Fences the popups the layer shows now and lets go of those it no
    // longer shows.
    void refit();
    void release(QObject *popup);
    void releaseAll();

    QPointer<QQuickWindow> m_window;
    QMetaObject::Connection m_windowConnection;
    QPointer<QQuickItem> m_overlay;
    QRectF m_bounds;
    double m_cornerRadius = 0;
    // The popups fenced now, with the margins they had before.
    QHash<QObject *, QMarginsF> m_fenced;
    QList<QMetaObject::Connection> m_overlayConnections;
};
