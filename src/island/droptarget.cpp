#include "droptarget.h"

#include "fieldreader.h"

#include <QAbstractItemModel>

void DropTarget::setModel(QObject *model)
{
    if (m_model == model)
        return;
    m_model = model;
    emit modelChanged();
}

void DropTarget::setPocketHidden(bool hidden)
{
    if (m_pocketHidden == hidden)
        return;
    m_pocketHidden = hidden;
    emit pocketHiddenChanged();
}

void DropTarget::setTargeted(bool targeted)
{
    if (!m_model)
        return;
    if (!targeted) {
        m_model->setProperty("fileDropTargeted", false);
        return;
    }
    if (m_pocketHidden)
        return;
    m_model->setProperty("fileDropTargeted", true);
    QMetaObject::invokeMethod(m_model, "openPocket");
}

bool DropTarget::drop(const QList<QUrl> &urls)
{
    if (m_pocketHidden || !m_model)
        return false;
    QObject *pocket = m_model->property("pocket").value<QObject *>();
    if (pocket)
        QMetaObject::invokeMethod(pocket, "ingest", Q_ARG(QList<QUrl>, urls));
    if (pocket && pocketItemCount(pocket) > 0)
        QMetaObject::invokeMethod(m_model, "openPocket");
    m_model->setProperty("fileDropTargeted", false);
    return true;
}

int DropTarget::pocketItemCount(QObject *pocket) const
{
    const QVariant items = pocket->property("items");
    if (auto *list = items.value<QAbstractItemModel *>())
        return list->rowCount();
    return int(FieldReader::list(items).size());
}
