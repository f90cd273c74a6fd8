#include "app/islandeditclearance.h"

#include "notch/notchpanel.h"
#include "platform/workspace.h"

void IslandEditClearance::hideOthers(const QList<QWindow *> &own)
{
    m_minimized.clear();
    for (QWindow *w : own) {
        if (!w->isVisible() || w->windowStates().testFlag(Qt::WindowMinimized))
            continue;
        // The island itself and the editor's windows stay.
        if (qobject_cast<NotchPanel *>(w) || w->objectName().startsWith(QLatin1String("island-edit")))
            continue;
        m_minimized << w;
    }
    for (const QPointer<QWindow> &w : std::as_const(m_minimized))
        w->showMinimized();

    m_hidden.clear();
    if (!m_workspace)
        return;
    for (const platform::WorkspaceWindow &w : m_workspace->windows()) {
        if (w.ordinary && !w.minimized)
            m_hidden << w.id;
    }
    for (quint64 id : std::as_const(m_hidden))
        m_workspace->minimize(id);
}

void IslandEditClearance::restore()
{
    if (m_workspace) {
        for (quint64 id : std::as_const(m_hidden)) {
            if (m_workspace->exists(id))
                m_workspace->restore(id);
        }
    }
    m_hidden.clear();
    for (const QPointer<QWindow> &w : std::as_const(m_minimized)) {
        if (w)
            w->showNormal();
    }
    m_minimized.clear();
}
