#pragma once

#include <QList>
#include <QPointer>
#include <QQuickItem>
#include <QQuickWindow>
#include <QRectF>
#include <QUrl>
#include <QVariantMap>

namespace platform { class IIslandWindowHints; }
class QQmlEngine;
class QQuickItem;

// Receives files dragged onto the island.
class FileDropTarget {
public:
    virtual ~FileDropTarget() = default;
    virtual void fileDragEntered() = 0;
    virtual void fileDragExited() = 0;
    // Whether the drop is taken whole: false when it is refused, or when
    // any of its files could not be taken.
    virtual bool fileDropped(const QList<QUrl> &files) = 0;
};

// The island's window: frameless, above everything, on every workspace, out
// of the task bar, taking the keyboard only when asked.
//
// Frames come in the island's y-up screen space and are turned into window
// coordinates here, in one place. While a frame animates the window does not
// follow each step: it is grown once to hold the whole movement, and only its
// shape (the island's outline, which also bounds where clicks land) and the
// content move inside it. When the springs settle the window is fitted to the
// final frame. So the window manager hears of a resize twice per animation,
// never once per frame. A resize changes the window's place, the shape and
// the content's offset in one step that nobody on the display sees half done,
// and the pixels already drawn stay where they are on the screen until the
// next frame replaces them.
class NotchPanel : public QQuickWindow {
    Q_OBJECT
    QML_ANONYMOUS
    // The island's rectangle inside the window (y downwards).
    Q_PROPERTY(QRectF islandRect READ islandRect NOTIFY islandRectChanged)
    Q_PROPERTY(double cornerRadius READ cornerRadius NOTIFY outlineChanged)
    Q_PROPERTY(bool floating READ floating NOTIFY outlineChanged)

public:
    // hints may be null (no window system to tell, as under offscreen).
    explicit NotchPanel(platform::IIslandWindowHints *hints, QWindow *parent = nullptr);
    ~NotchPanel() override;

    // The pivot for turning y-up screen space into window coordinates.
    void setPrimaryHeight(double height) { m_primaryHeight = height; }
    double primaryHeight() const { return m_primaryHeight; }

    // Shows the island at frame (y-up) with the outline's corner radius.
    // animating: more frames follow soon.
    void applyFrame(const QRectF &frame, bool animating, double cornerRadius);
    void applyFrame(const QRectF &frame, bool animating) { applyFrame(frame, animating, m_cornerRadius); }
    // Makes room for an animation from one frame to another (y-up).
    void prepareAnimation(const QRectF &from, const QRectF &to);
    void setOutline(double cornerRadius, bool floating);

    // Windows that stand right under and over the island whenever it comes
    // to the front (the island editor's shade and its controls).
    void setStackedBelow(QWindow *window) { m_stackedBelow = window; }
    void setStackedAbove(QWindow *window) { m_stackedAbove = window; }
    // Raises the island over other windows, keeping those two in place.
    void bringToFront();

    // From Home on the island takes the keyboard.
    void setAcceptsFocus(bool accepts);
    void makeKey();

    // Loads the content (a QML component URL) into the window, with this
    // window as its `panel` and the other inputs given. After the first frame
    // the views the island opens from rest are compiled in the background.
    bool loadContent(QQmlEngine *engine, const QUrl &url, QVariantMap inputs = {});
    // Compiles the panels reached from Home in the background. Once is
    // enough; later calls do nothing.
    void compilePanelsAhead();
    // The background compilations' objects once they are done (tests).
    QObject *viewsAhead() const { return m_viewsAhead; }
    QObject *panelsAhead() const { return m_panelsAhead; }
    QQuickItem *content() const { return m_content; }

    void setDropTarget(FileDropTarget *target) { m_dropTarget = target; }

    QRectF islandRect() const { return m_islandRect; }
    double cornerRadius() const { return m_cornerRadius; }
    bool floating() const { return m_floating; }
    // The island's frame in window-system coordinates (y downwards).
    QRectF islandFrameOnScreen() const { return m_islandRect.translated(position()); }

    // Drag and drop, from the content's drop area.
    Q_INVOKABLE bool dragEnter(const QList<QUrl> &urls);
    Q_INVOKABLE void dragExit();
    Q_INVOKABLE bool drop(const QList<QUrl> &urls);

    // The local files among urls, in order.
    static QList<QUrl> localFiles(const QList<QUrl> &urls);

signals:
    void islandRectChanged();
    void outlineChanged();

protected:
    void exposeEvent(QExposeEvent *event) override;
    bool event(QEvent *event) override;

private:
    // Moves the window to geometry with the island at island inside it.
    void present(const QRect &geometry, const QRectF &island);
    void updateMask();
    // Compiles the views that url lists in the background; the object lands
    // in *into.
    void compileAhead(const QUrl &url, QPointer<QObject> *into);

    platform::IIslandWindowHints *m_hints;
    double m_primaryHeight = 0;
    QRectF m_islandRect;
    double m_cornerRadius = 10;
    // The window's outline in device pixels, as the window system last had it.
    QRegion m_deviceMask;
    bool m_floating = false;
    bool m_hinted = false;
    bool m_mappedHinted = false;
    bool m_dragging = false;
    QPointer<QQuickItem> m_content;
    QPointer<QQmlEngine> m_engine;
    QPointer<QObject> m_viewsAhead;
    QPointer<QObject> m_panelsAhead;
    bool m_panelsAheadAsked = false;
    QPointer<QWindow> m_stackedBelow;
    QPointer<QWindow> m_stackedAbove;
    FileDropTarget *m_dropTarget = nullptr;
};
