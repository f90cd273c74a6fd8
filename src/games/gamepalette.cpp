#include "games/gamepalette.h"

QColor GamePalette::markColor(int mark)
{
    switch (mark) {
    case 0: return QColor::fromRgbF(0.33f, 0.55f, 0.31f);
    case 1: return QColor::fromRgbF(0.71f, 0.62f, 0.23f);
    case 2: return QColor::fromRgbF(0.23f, 0.23f, 0.24f);
    default: return QColor(Qt::transparent);
    }
}
