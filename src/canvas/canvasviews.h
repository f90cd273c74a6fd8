#pragma once

#include "canvas/canvaspaneltext.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QVariant>
#include <QtQml/qqmlregistration.h>
#include <optional>

// A section as the panel draws it: its palette colour by name and its
// figure ("" for none).
struct CanvasSection {
    Q_GADGET
    QML_VALUE_TYPE(canvasSection)
    Q_PROPERTY(QString title MEMBER title CONSTANT)
    Q_PROPERTY(QString accent MEMBER accent CONSTANT)
    Q_PROPERTY(QString detail MEMBER detail CONSTANT)
    Q_PROPERTY(QList<CanvasAssignment> items MEMBER items CONSTANT)
public:
    QString title;
    QString accent;
    QString detail;
    QList<CanvasAssignment> items;
};

// The same for the views, as the QML singleton CanvasViews.
class CanvasViews : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    // The panel's own sizes, in points.
    Q_PROPERTY(int markSize MEMBER m_markSize CONSTANT)
    Q_PROPERTY(int barHeight MEMBER m_barHeight CONSTANT)
    Q_PROPERTY(int sectionSpacing MEMBER m_sectionSpacing CONSTANT)
public:
    using QObject::QObject;

    Q_INVOKABLE QString summary(const CanvasBoard &board, const QString &problem, bool loading) const
    {
        return CanvasPanelText::summary(board, problem, loading);
    }
    Q_INVOKABLE QString emptyTitle(bool hasCredentials, const QString &firstName, bool loading,
                                   bool waitingForKeyring, const QString &keyringProblem) const
    {
        return CanvasPanelText::emptyTitle(hasCredentials, firstName, loading, waitingForKeyring, keyringProblem);
    }
    Q_INVOKABLE QString emptyDetail(bool hasCredentials, bool loading, const QString &keyringProblem) const
    {
        return CanvasPanelText::emptyDetail(hasCredentials, loading, keyringProblem);
    }
    Q_INVOKABLE QString subtitle(const CanvasAssignment &item, const QString &dueLabel) const
    {
        return CanvasPanelText::subtitle(item, dueLabel);
    }
    Q_INVOKABLE QList<CanvasSection> sections(const CanvasBoard &board) const;

private:
    int m_markSize = 28, m_barHeight = 28, m_sectionSpacing = 16;
};
