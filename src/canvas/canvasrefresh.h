#pragma once

#include "canvas/canvasassignment.h"

#include <QObject>
#include <QString>
#include <functional>
#include <optional>

class CanvasCredentialStore;
class CanvasService;
class Clock;

// When the island asks Canvas again and what it says about the answer: a
// refresh at most every fifteen minutes (sooner when the credentials
// change), the board and its next piece of work, the user's name and the
// status text shown in the settings. The results arrive as signals; the
// island's view model republishes them.
class CanvasRefresh : public QObject {
    Q_OBJECT
public:
    static constexpr qint64 EveryMs = 900 * 1000;

    CanvasRefresh(CanvasService *service, CanvasCredentialStore *credentials, Clock *clock,
                  QObject *parent = nullptr);

    // More than fifteen minutes have passed since the last refresh began.
    bool isDue() const;
    // The next isDue() is true (new credentials).
    void forget();

    // Asks for the board, then the user's name, and reports what they say;
    // done runs once everything is reported.
    void refresh(std::function<void()> done = {});

    // The fetches at start, one after the other: first (the reminders; none
    // to skip it) and, once it calls the function it is given, this refresh,
    // then after (the weather).
    void refreshBetween(const std::function<void(std::function<void()>)> &first, std::function<void()> after);

    // The first work of a board: overdue, then due today, then upcoming.
    static std::optional<CanvasAssignment> nextAssignment(const CanvasBoard &board);

    static inline const QString StatusNotConnected = QStringLiteral("Not connected");
    static inline const QString StatusNoOpenWork = QStringLiteral("Token loaded \u00B7 no open work");
    static inline const QString StatusRejected = QStringLiteral("Token rejected");
    static inline const QString StatusUnreachable = QStringLiteral("Couldn't reach Canvas");
    static inline const QString ConnectedAs = QStringLiteral("Connected as ");

signals:
    // A board came back; a refused token, or a server that could not be
    // reached, keeps the earlier one.
    void boardFetched(const CanvasBoard &board, const std::optional<CanvasAssignment> &next);
    void userNameFound(const QString &name);
    // No credentials are stored: no name.
    void userNameLost();
    void statusChanged(const QString &status);

private:
    void afterName(const CanvasBoard &board, const std::optional<QString> &name, std::function<void()> done);

    CanvasService *m_service;
    CanvasCredentialStore *m_credentials;
    Clock *m_clock;
    qint64 m_lastFetchMs;
};
