#pragma once

#include "canvas/canvasassignment.h"
#include "canvas/canvascredentials.h"

#include <QLocale>
#include <QObject>
#include <QString>
#include <QTimeZone>
#include <functional>
#include <optional>
#include <vector>

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

    // More than fifteen minutes of wall-clock time have passed since the last
    // refresh began (a sleep counts; a clock set back makes it due).
    bool isDue() const;
    // The next isDue() is true (new credentials).
    void forget();
    // The credentials were saved: the next refresh is due, and when the
    // school's address changed the previous school's board and name go at
    // once (a refresh still under way for it is dropped).
    void credentialsChanged();

    // Asks for the board, then the user's name, and reports what they say;
    // done runs once everything is reported. One refresh runs at a time: a
    // call while one is under way waits for it, unless the credentials
    // changed since it began (its answer is then dropped and a new one
    // starts).
    void refresh(std::function<void()> done = {});
    bool isRunning() const { return m_running; }
    // No board has come for the credentials in use yet.
    bool isLoading() const { return !m_loaded; }
    // Called as time passes: at the local day's change the board is filed
    // again for the new day (work whose time has passed is overdue).
    void timePassed();

    // The fetches at start, one after the other: first (the reminders; none
    // to skip it) and, once it calls the function it is given, this refresh,
    // then after (the weather).
    void refreshBetween(const std::function<void(std::function<void()>)> &first, std::function<void()> after);

    // The first work of a board: overdue, then due today, then upcoming.
    static std::optional<CanvasAssignment> nextAssignment(const CanvasBoard &board);

    static inline const QString StatusNotConnected = QStringLiteral("Not connected");
    static inline const QString StatusTokenLoaded = QStringLiteral("Token loaded");
    static inline const QString StatusNoOpenWork = QStringLiteral("Token loaded \u00B7 no open work");
    static inline const QString StatusRejected = QStringLiteral("Token rejected");
    // No reply, an error status, or a reply that is not Canvas's JSON.
    static inline const QString StatusLoadFailed = QStringLiteral("Couldn't load Canvas");
    // Said while a refresh goes on after a request got no answer in time.
    static inline const QString NotAnswering = QStringLiteral("Your school isn't answering. Trying again\u2026");
    static inline const QString LastLoaded = QStringLiteral(" \u00B7 last loaded ");
    static inline const QString ConnectedAs = QStringLiteral("Connected as ");
    // A request was redirected to another server; the host follows.
    static inline const QString SentElsewhere = QStringLiteral("Canvas sent the request to another server (");

    // When a board was loaded, as the problem text says it: the time of day
    // for today, else the day and the time.
    static QString loadedLabel(qint64 loadedMs, qint64 nowMs, const QTimeZone &zone,
                               const QLocale &locale = QLocale());

signals:
    // A board came back; a refused token, or a server that could not be
    // reached, keeps the earlier one.
    void boardFetched(const CanvasBoard &board, const std::optional<CanvasAssignment> &next);
    void userNameFound(const QString &name);
    // No credentials are stored: no name.
    void userNameLost();
    // What the settings say about the account after a refresh that got
    // through.
    void statusChanged(const QString &status);
    // A refresh did not get through (problem says why, and when the board
    // was last loaded), or, with an empty problem, the first one since did.
    void loadProblem(const QString &problem);
    void loadingChanged(bool loading);

private:
    void start();
    void finished(quint64 run);
    void setLoaded(bool loaded);
    void afterName(const CanvasBoard &board, const std::optional<QString> &name, bool hadProblem,
                   std::function<void()> done);
    void say(const QString &status);
    void fail(const QString &reason);
    QString schoolAddress() const;

    CanvasService *m_service;
    CanvasCredentialStore *m_credentials;
    Clock *m_clock;
    qint64 m_lastFetchMs;
    // The last board that got through: when, and from which school.
    std::optional<qint64> m_loadedMs;
    QString m_boardAddress;
    // Why the last refresh did not get through; empty once one did.
    QString m_problem;
    // The last status a refresh that got through gave, for the next one that
    // keeps it after a failure.
    QString m_lastStatus;
    // Bumped when the school changes: answers for the earlier one are dropped.
    quint64 m_school = 0;
    // The refresh under way, and whether the credentials changed since it
    // began; the callers waiting for it.
    bool m_running = false;
    bool m_stale = false;
    // The board's requests are under way (not the name's).
    bool m_askingBoard = false;
    quint64 m_run = 0;
    std::vector<std::function<void()>> m_waiting;
    // Whether a board came for the credentials in use, and for which.
    bool m_loaded = false;
    std::optional<CanvasCredentials> m_loadedFor;
    // What the last board was built from.
    QList<CanvasAssignment> m_items;
};
