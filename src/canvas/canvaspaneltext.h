#pragma once

#include "canvas/canvasassignment.h"

#include <QList>
#include <QString>
#include <optional>

// What the planner panel says: the header's summary, the empty state, the
// three sections and each row's subtitle.
namespace CanvasPanelText {
// Nothing while no board is shown and it is unknown: problem says why, or
// the first board is loading.
QString summary(const CanvasBoard &board, const QString &problem = {}, bool loading = false);
// While loading, no board has come yet for the credentials in use: nothing
// is known to be due or not.
// An account set up whose token the keyring has not given yet is waited for;
// one whose keyring is locked or missing says so (keyringProblem).
QString emptyTitle(bool hasCredentials, const QString &firstName, bool loading = false,
                   bool waitingForKeyring = false, const QString &keyringProblem = {});
QString emptyDetail(bool hasCredentials, bool loading = false, const QString &keyringProblem = {});
// The course, "Quiz" and the due label, the ones present, joined by "  ·  ".
QString subtitle(const CanvasAssignment &item, const QString &dueLabel);

struct Section {
    QString title;
    // The palette colour the section is drawn in.
    QString accent;
    std::optional<QString> detail;
    QList<CanvasAssignment> items;
};
// The sections with items, in their order.
QList<Section> sections(const CanvasBoard &board);
} // namespace CanvasPanelText
