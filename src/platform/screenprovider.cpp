#include "platform/screenprovider.h"

namespace ScreenSpace {
QRectF flip(const QRectF &r, double primaryHeight)
{
    return QRectF(r.x(), primaryHeight - r.y() - r.height(), r.width(), r.height());
}
QPointF flip(const QPointF &p, double primaryHeight)
{
    return QPointF(p.x(), primaryHeight - p.y());
}
} // namespace ScreenSpace
