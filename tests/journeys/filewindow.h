#pragma once

#include "journey.h"

#include "support/patience.h"

#include <QCoreApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QProcess>
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

// A file window in another program (this test program, started with
// --drop-target): a drop there crosses from one process to another, as a
// user's drop on a file manager does. It says where it stands once shown and
// every address dropped on it, a line each, on its standard output.
class OtherProgramWindow {
public:
    ~OtherProgramWindow()
    {
        m_process.kill();
        m_process.waitForFinished(5000);
    }

    // Shows the window with its top left corner near at; false when it did
    // not show.
    bool start(QPoint at)
    {
        m_process.start(QCoreApplication::applicationFilePath(),
                        {QStringLiteral("--drop-target"), QString::number(at.x()), QString::number(at.y())});
        return Patience::until([this] { return read(), !m_middle.isNull(); }, 15000);
    }
    QPoint middle() const { return m_middle; }
    QList<QUrl> received()
    {
        read();
        return m_received;
    }

    // The other program's side: shows the window and reports (see above).
    static int run(int argc, char **argv);

private:
    void read()
    {
        while (m_process.canReadLine()) {
            const QString line = QString::fromUtf8(m_process.readLine()).trimmed();
            if (line.startsWith(QLatin1String("middle ")))
                m_middle = QPoint(line.section(' ', 1, 1).toInt(), line.section(' ', 2, 2).toInt());
            else if (line.startsWith(QLatin1String("dropped ")))
                m_received << QUrl(line.section(' ', 1));
        }
    }

    QProcess m_process;
    QPoint m_middle;
    QList<QUrl> m_received;
};

// Drags from a point of the island's item to a point of the screen and lets
// go: the item's drag runs a loop of its own, so the hand goes on from a
// timer set before the press.
inline void dragToPoint(Journey &j, QQuickItem *item, QPointF at, QPoint to)
{
    const QPoint from = j.screenPoint(item, at);
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

// The same to the file window.
inline void dragToWindow(Journey &j, QQuickItem *item, QPointF at, const FileWindow &files)
{
    dragToPoint(j, item, at, files.middle());
}
