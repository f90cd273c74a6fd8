#include "droptarget.h"

#include "appsettings.h"
#include "fieldreader.h"

#include <QAbstractItemModel>

DropTarget::DropTarget(QObject *model, AppSettings *settings, QObject *parent)
    : QObject(parent)
    , m_model(model)
    , m_settings(settings)
{
}

bool DropTarget::pocketHidden() const
{
    if (m_settings)
        return !m_settings->isModuleEnabled(HomeModule::pocket);
    return m_pocketHidden;
}

void DropTarget::setTargeted(bool targeted)
{
    if (!m_model)
        return;
    if (!targeted) {
        m_model->setProperty("fileDropTargeted", false);
        return;
    }
    if (pocketHidden())
        return;
    m_model->setProperty("fileDropTargeted", true);
    QMetaObject::invokeMethod(m_model, "openPocket");
}

bool DropTarget::drop(const QList<QUrl> &urls)
{
    if (pocketHidden() || !m_model)
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
