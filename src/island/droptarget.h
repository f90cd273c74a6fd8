#pragma once

#include "notchpanel.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QUrl>

class AppSettings;

// Files dragged onto the island go to the pocket shelf. While files hover the
// island the view model's drop flag is up and the pocket panel opens; a drop
// hands the files to the pocket store, opens the pocket when it then holds
// anything, and lowers the flag. With the pocket module hidden nothing of
// this happens and drops are refused.
class DropTarget : public QObject, public FileDropTarget {
    Q_OBJECT
public:
    // model: the view model (fileDropTargeted, openPocket() and the pocket
    // store with ingest(urls) and its items). settings: whether the pocket
    // module is shown; without it, setPocketHidden() decides.
    explicit DropTarget(QObject *model, AppSettings *settings = nullptr, QObject *parent = nullptr);

    bool pocketHidden() const;
    void setPocketHidden(bool hidden) { m_pocketHidden = hidden; }

    // The drag's targeted flag changed.
    void setTargeted(bool targeted);
    // Files were dropped; false when the drop is refused.
    bool drop(const QList<QUrl> &urls);

    void fileDragEntered() override { setTargeted(true); }
    void fileDragExited() override { setTargeted(false); }
    bool fileDropped(const QList<QUrl> &files) override { return drop(files); }

private:
    int pocketItemCount(QObject *pocket) const;

    QPointer<QObject> m_model;
    QPointer<AppSettings> m_settings;
    bool m_pocketHidden = false;
};
