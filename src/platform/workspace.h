#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

namespace platform {

// A top-level window of another program on the desktop.
struct WorkspaceWindow {
    quint64 id = 0;
    qint64 pid = 0;
    QString title;
    bool minimized = false;
    // An application's own window, not a panel, dock or the desktop.
    bool ordinary = true;
    bool operator==(const WorkspaceWindow &) const = default;
};

// Other programs' windows, for clearing the desktop around the island editor.
class IWorkspace {
public:
    virtual ~IWorkspace() = default;
    // Managed windows in stacking order, this program's own left out.
    virtual QList<WorkspaceWindow> windows() const = 0;
    virtual void minimize(quint64 id) = 0;
    // Brings a minimized window back without giving it the focus; nothing
    // when it has gone.
    virtual void restore(quint64 id) = 0;
    virtual bool exists(quint64 id) const = 0;
};

} // namespace platform
