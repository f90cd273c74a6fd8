#include "support/itemtree.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QQuickItem>

namespace ItemTree {

QQuickItem *find(QQuickItem *root, const QString &objectName)
{
    if (!root)
        return nullptr;
    if (root->objectName() == objectName)
        return root;
    const auto children = root->childItems();
    for (QQuickItem *child : children) {
        if (QQuickItem *found = find(child, objectName))
            return found;
    }
    return nullptr;
}

bool isA(const QObject *object, const char *type)
{
    const QLatin1String name(type);
    for (const QMetaObject *m = object->metaObject(); m; m = m->superClass()) {
        const QLatin1String cls(m->className());
        // QML types are named like "IslandPressStyle_QMLTYPE_12".
        if (cls == name || (cls.startsWith(name) && cls.mid(name.size()).startsWith(QLatin1String("_QML"))))
            return true;
    }
    return false;
}

QList<QQuickItem *> all(QQuickItem *root, const char *type)
{
    QList<QQuickItem *> found;
    if (!root)
        return found;
    if (isA(root, type))
        found << root;
    const auto children = root->childItems();
    for (QQuickItem *child : children)
        found << all(child, type);
    return found;
}

double effectiveOpacity(const QQuickItem *item)
{
    double opacity = 1;
    for (const QQuickItem *i = item; i; i = i->parentItem()) {
        if (!i->isVisible())
            return 0;
        opacity *= i->opacity();
    }
    return opacity;
}

QRectF sceneRect(const QQuickItem *item)
{
    return item->mapRectToScene(QRectF(0, 0, item->width(), item->height()));
}

QList<QQuickItem *> homeCards(QQuickItem *root)
{
    QList<QQuickItem *> cards;
    QQuickItem *list = find(root, QStringLiteral("homeCards"));
    if (!list)
        return cards;
    const auto children = list->childItems();
    for (QQuickItem *child : children) {
        if (child->objectName().startsWith(QLatin1String("homeCard:")))
            cards << child;
    }
    // In the order the list shows them.
    std::sort(cards.begin(), cards.end(), [](QQuickItem *a, QQuickItem *b) { return a->y() < b->y(); });
    return cards;
}

QStringList homeCardFaults(QQuickItem *root)
{
    QStringList faults;
    QQuickItem *panel = find(root, QStringLiteral("homePanel"));
    if (!panel)
        return faults;
    const QList<QQuickItem *> cards = homeCards(panel);
    QQuickItem *list = find(panel, QStringLiteral("homeCards"));
    // The content may scroll: vertically a card has to lie within the list's
    // own extent, horizontally within the panel.
    const QRectF panelRect = sceneRect(panel);
    const QRectF listRect = sceneRect(list);
    const QRectF bounds(panelRect.left(), std::min(panelRect.top(), listRect.top()), panelRect.width(),
                        std::max(panelRect.bottom(), listRect.bottom()) - std::min(panelRect.top(), listRect.top()));
    const double slack = 0.5;
    QList<QRectF> rects;
    for (QQuickItem *card : cards) {
        const QString name = card->objectName().mid(9);
        const QRectF r = sceneRect(card);
        rects << r;
        const double opacity = effectiveOpacity(card);
        if (opacity < 0.99)
            faults << QStringLiteral("%1: drawn at opacity %2").arg(name).arg(opacity, 0, 'f', 2);
        if (r.height() < 1)
            faults << QStringLiteral("%1: has no height").arg(name);
        if (r.left() < bounds.left() - slack || r.right() > bounds.right() + slack || r.top() < bounds.top() - slack
            || r.bottom() > bounds.bottom() + slack) {
            faults << QStringLiteral("%1: at (%2, %3, %4 x %5), outside the panel (%6, %7, %8 x %9)")
                          .arg(name)
                          .arg(r.x())
                          .arg(r.y())
                          .arg(r.width())
                          .arg(r.height())
                          .arg(bounds.x())
                          .arg(bounds.y())
                          .arg(bounds.width())
                          .arg(bounds.height());
        }
    }
    for (int i = 0; i < rects.size(); ++i) {
        for (int j = i + 1; j < rects.size(); ++j) {
            const QRectF overlap = rects[i].intersected(rects[j]);
            if (overlap.height() > slack && overlap.width() > slack)
                faults << QStringLiteral("%1 and %2 overlap by %3 pt")
                              .arg(cards[i]->objectName().mid(9), cards[j]->objectName().mid(9))
                              .arg(overlap.height());
        }
    }
    return faults;
}

QStringList waitForHomeCards(QQuickItem *root, int timeoutMs, const std::function<void()> &step, int quietMs)
{
    QStringList faults;
    QElapsedTimer total;
    QElapsedTimer quiet;
    total.start();
    quiet.start();
    while (total.elapsed() < timeoutMs) {
        if (step)
            step();
        else
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        const QStringList now = homeCardFaults(root);
        if (!now.isEmpty()) {
            faults = now;
            quiet.restart();
        } else if (quiet.elapsed() >= quietMs) {
            return {};
        }
    }
    return faults;
}

} // namespace ItemTree
