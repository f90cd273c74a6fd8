#include "canvas/canvaspaneltext.h"

#include "canvas/canvascredentials.h"

#include <QStringList>

QString CanvasPanelText::summary(const CanvasBoard &board, const QString &problem, bool loading)
{
    if ((loading || !problem.isEmpty()) && board.isEmpty())
        return {};
    const qsizetype o = board.overdue.size();
    const qsizetype t = board.dueToday.size();
    if (o == 0 && t == 0)
        return QStringLiteral("You're clear");
    QStringList lines;
    if (o > 0)
        lines << QString::number(o) + QStringLiteral(" waiting");
    if (t > 0)
        lines << QString::number(t) + QStringLiteral(" today");
    const qint64 points = pointsTotal(board.dueToday);
    if (points >= 1)
        lines << QString::number(points) + QStringLiteral(" pts");
    return lines.join(u'\n');
}

QString CanvasPanelText::emptyTitle(bool hasCredentials, const QString &firstName, bool loading,
                                    bool waitingForKeyring, const QString &keyringProblem)
{
    if (!hasCredentials && !keyringProblem.isEmpty())
        return keyringProblem;
    if (!hasCredentials && waitingForKeyring)
        return QStringLiteral("Waiting for the keyring");
    if (!hasCredentials)
        return QStringLiteral("Connect Canvas in Settings");
    if (loading)
        return QStringLiteral("Loading your Canvas\u2026");
    if (firstName.isEmpty())
        return QStringLiteral("You're all caught up");
    return QStringLiteral("You're all caught up, ") + firstName;
}

QString CanvasPanelText::emptyDetail(bool hasCredentials, bool loading, const QString &keyringProblem)
{
    if (!hasCredentials && !keyringProblem.isEmpty())
        return keyringProblem == CanvasCredentialStore::NoKeyringText
                   ? QStringLiteral("Start your keyring and your Canvas loads here.")
                   : QStringLiteral("Unlock it and your Canvas loads here.");
    if (hasCredentials && loading)
        return QStringLiteral("Your due work, points, and upcoming assignments land here once your school answers.");
    return hasCredentials ? QStringLiteral("Nothing due and nothing overdue. Enjoy the quiet.")
                          : QStringLiteral("Then your due work, points, and upcoming assignments land here.");
}

QString CanvasPanelText::subtitle(const CanvasAssignment &item, const QString &dueLabel)
{
    QStringList parts;
    if (item.course)
        parts << *item.course;
    if (item.isQuiz)
        parts << QStringLiteral("Quiz");
    parts << dueLabel;
    return parts.join(QStringLiteral("  \u00B7  "));
}

QList<CanvasPanelText::Section> CanvasPanelText::sections(const CanvasBoard &board)
{
    auto points = [](const QList<CanvasAssignment> &items) -> std::optional<QString> {
        const qint64 p = pointsTotal(items);
        if (p < 1)
            return std::nullopt;
        return QString::number(p) + QStringLiteral(" pts");
    };
    QList<Section> list;
    if (!board.overdue.isEmpty())
        list.append({QStringLiteral("Needs you"), QStringLiteral("coral"), points(board.overdue), board.overdue});
    if (!board.dueToday.isEmpty())
        list.append({QStringLiteral("Due today"), QStringLiteral("amber"), points(board.dueToday), board.dueToday});
    if (!board.upcoming.isEmpty())
        list.append({QStringLiteral("Coming up"), QStringLiteral("mint"), QString::number(board.upcoming.size()),
                     board.upcoming});
    return list;
}
