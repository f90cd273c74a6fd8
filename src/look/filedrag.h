#pragma once

#include <QList>
#include <QObject>
#include <QUrl>
#include <QtQml/qqmlregistration.h>

// Drags files out of the island, for the rows that offer one (a voice
// memo). The drag runs from the event loop, on this object, which lives as
// long as the views' engine, not from the handler that asked for it: while
// the drag's own event loop runs, what the drag sets off may delete the row
// and the panel it stands in (a file dragged over the island opens the
// pocket, which takes the panel away; a list refreshed drops its rows). A
// view deleted under its own running handler, or a drag owned by it, ends
// the program; here neither is on the stack or owns anything by then.
class FileDrag : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
public:
    using QObject::QObject;

    // Offers the local files to a drop as a copy, once the current event is
    // done, if the button that started it is still down.
    Q_INVOKABLE void start(const QList<QUrl> &files);

private:
    void run(const QList<QUrl> &files);

    bool m_running = false;
};
