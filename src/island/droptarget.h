#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QUrl>
#include <QtQml/qqmlregistration.h>

// Files dragged onto the island go to the pocket shelf. While files hover the
// island the view model's drop flag is up and the pocket panel opens; a drop
// hands the files to the pocket store, opens the pocket when it then holds
// anything, and lowers the flag. With the pocket module hidden nothing of
// this happens and drops are refused.
class DropTarget : public QObject {
    Q_OBJECT
    QML_ELEMENT
    // The view model: fileDropTargeted, openPocket() and the pocket store
    // (ingest(urls) and its items).
    Q_PROPERTY(QObject *model READ model WRITE setModel NOTIFY modelChanged)
    Q_PROPERTY(bool pocketHidden READ pocketHidden WRITE setPocketHidden NOTIFY pocketHiddenChanged)
public:
    using QObject::QObject;

    QObject *model() const { return m_model; }
    void setModel(QObject *model);
    bool pocketHidden() const { return m_pocketHidden; }
    void setPocketHidden(bool hidden);

    // The drag's targeted flag changed.
    Q_INVOKABLE void setTargeted(bool targeted);
    // Files were dropped; false when the drop is refused.
    Q_INVOKABLE bool drop(const QList<QUrl> &urls);

signals:
    void modelChanged();
    void pocketHiddenChanged();

private:
    int pocketItemCount(QObject *pocket) const;

    QPointer<QObject> m_model;
    bool m_pocketHidden = false;
};
