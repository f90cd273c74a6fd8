#include "canvas/canvasviews.h"

#include <QStringList>

QList<CanvasSection> CanvasViews::sections(const CanvasBoard &board) const
{
    QList<CanvasSection> list;
    for (const CanvasPanelText::Section &s : CanvasPanelText::sections(board))
        list.append({s.title, s.accent, s.detail.value_or(QString()), s.items});
    return list;
}
