#include "look/filedrag.h"

#include <QDrag>
#include <QGuiApplication>
#include <QMimeData>

void FileDrag::start(const QList<QUrl> &files)
{
    if (m_running || files.isEmpty())
        return;
    QMetaObject::invokeMethod(this, [this, files] { run(files); }, Qt::QueuedConnection);
}

void FileDrag::run(const QList<QUrl> &files)
{
    // A press let go before the drag could start ends nothing: a drag
    // started now would wait for the next release, wherever that comes.
    if (m_running || !(QGuiApplication::mouseButtons() & Qt::LeftButton))
        return;
    m_running = true;
    auto *drag = new QDrag(this);
    auto *data = new QMimeData;
    data->setUrls(files);
    drag->setMimeData(data);
    // Qt lets go of the drag object itself once the drop is done.
    drag->exec(Qt::CopyAction, Qt::CopyAction);
    m_running = false;
}
