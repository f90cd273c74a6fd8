#pragma once

#include <QList>
#include <QPointer>
#include <QWindow>

namespace platform { class IWorkspace; }

// Clears the desktop around an on-screen island edit: our own visible
// windows are minimized (not the island, not the editor's own windows) and
// other programs' ordinary visible windows too (not panels, docks or the
// desktop); the end of the edit brings back only
// what was put away here, leaving alone what was already minimized and
// what has gone meanwhile.
class IslandEditClearance {
public:
    explicit IslandEditClearance(platform::IWorkspace *workspace) : m_workspace(workspace) {}

    // own: this program's windows in order. A new edit replaces both lists.
    void hideOthers(const QList<QWindow *> &own);
    void restore();

    QList<quint64> hiddenWindows() const { return m_hidden; }
    int minimizedOwnCount() const { return int(m_minimized.size()); }

private:
    platform::IWorkspace *m_workspace;
    QList<quint64> m_hidden;
    QList<QPointer<QWindow>> m_minimized;
};
