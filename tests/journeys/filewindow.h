#pragma once

#include "journey.h"

#include <QDrag>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QThread>
#include <QTimer>
#include <QUrl>
#include <QWidget>
#include <functional>

// A file manager's window beside the island: its files are dragged out with
// a move offered (Shift-less, as a file manager moves within one disk), and
// it takes files dropped on it.
class FileWindow : public QWidget {
public:
    QList<QUrl> offered;
    QList<QUrl> received;
    Qt::DropAction answered = Qt::IgnoreAction;
    // Runs inside the drag's own event loop, as the user's hand goes on.
    std::function<void()> whileDragging;

    FileWindow()
    {
        setAcceptDrops(true);
        setWindowTitle(QStringLiteral("Files"));
        resize(220, 160);
    }

    // Where the window's middle is on the screen.
    QPoint middle() const { return mapToGlobal(QPoint(width() / 2, height() / 2)); }

protected:
    void mousePressEvent(QMouseEvent *) override { m_pressed = true; }
    void mouseReleaseEvent(QMouseEvent *) override { m_pressed = false; }
    void mouseMoveEvent(QMouseEvent *) override
    {
        if (!m_pressed || m_dragging)
            return;
        m_dragging = true;
        auto *drag = new QDrag(this);
        auto *mime = new QMimeData;
        mime->setUrls(offered);
        drag->setMimeData(mime);
        if (whileDragging)
            QTimer::singleShot(30, this, whileDragging);
        answered = drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::MoveAction);
        m_dragging = m_pressed = false;
    }
    void dragEnterEvent(QDragEnterEvent *e) override
    {
        if (e->mimeData()->hasUrls())
            e->acceptProposedAction();
    }
    void dragMoveEvent(QDragMoveEvent *e) override { e->acceptProposedAction(); }
    void dropEvent(QDropEvent *e) override
    {
        received = e->mimeData()->urls();
        e->setDropAction(Qt::CopyAction);
        e->accept();
    }

private:
    bool m_pressed = false;
    bool m_dragging = false;
};

// Drags the file window's files onto the island, which opens to the pocket
// under the hand and takes the drop.
void dropOnIsland(Journey &j, FileWindow &files);

// Drags from a point of the island's item to the file window and lets go:
// the item's drag runs a loop of its own, so the hand goes on from a timer
// set before the press.
inline void dragToWindow(Journey &j, QQuickItem *item, QPointF at, const FileWindow &files)
{
    const QPoint from = j.screenPoint(item, at);
    const QPoint to = files.middle();
    QTimer::singleShot(700, [&j, to] {
        j.hands().setSpinning(false);
        j.hands().moveTo(to, 12);
        QThread::msleep(200);
        j.hands().moveTo(to + QPoint(4, 4), 2);
        QThread::msleep(150);
        j.hands().release();
        j.hands().setSpinning(true);
    });
    j.hands().moveTo(from, 3);
    XInput::pause(100);
    j.hands().press();
    XInput::pause(60);
    j.hands().moveTo(from + QPoint(0, 40), 6);
}
