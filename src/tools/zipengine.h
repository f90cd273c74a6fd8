#pragma once

#include "tools/toolfolders.h"

#include <QDateTime>
#include <QList>
#include <QLocale>
#include <QObject>
#include <QSet>
#include <QString>
#include <QUrl>
#include <QtQml/qqmlregistration.h>
#include <functional>
#include <memory>

class Clock;
namespace platform {
class IZipper;
class IFilePicker;
} // namespace platform

// Packs dropped or picked files and folders into one zip archive in the
// Downloads folder, named after the time of day.
class ZipEngine : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("The zip card's engine comes from the application")
    Q_PROPERTY(QString status READ status NOTIFY statusChanged)
    Q_PROPERTY(bool running READ running NOTIFY runningChanged)
public:
    ZipEngine(platform::IZipper *zipper, platform::IFilePicker *picker, const Clock *clock,
              const QString &downloadsFolder = ToolFolders::downloads(), const QLocale &locale = QLocale(),
              QObject *parent = nullptr);

    QString status() const { return m_status; }
    bool running() const { return m_running; }

    // Zips the local files among urls, in their order.
    Q_INVOKABLE void zip(const QList<QUrl> &urls);
    // Opens the dialog for files and folders and returns; what the user
    // picks is zipped when the dialog closes, provided this engine still
    // exists then.
    Q_INVOKABLE void pick();
    // Gives a token that keeps the island open for as long as it is held;
    // the engine holds one while its dialog is up.
    using HoldOpen = std::function<std::shared_ptr<void>()>;
    void setHoldOpen(HoldOpen hold) { m_holdOpen = std::move(hold); }
    // The card this engine belongs to. Once the card is gone the engine
    // finishes the pick and the runs under way, then deletes itself.
    void setOwner(QObject *owner);

    // "3:07:45 PM" in US English: hour, minute and second in the locale's way.
    static QString timeText(const QDateTime &when, const QLocale &locale);
    // "Pavlet <time>.zip".
    static QString archiveName(const QDateTime &when, const QLocale &locale);
    // The status a run ends with: "Saved <archive>", naming what it left
    // out, or "Couldn't compress" with the zipper's reason.
    static QString finishedText(const QString &archive, int status, const QString &note);

signals:
    void statusChanged();
    void runningChanged();

private:
    QString freeArchivePath(const QString &name) const;
    void finish(const QString &path, int status, const QString &note);
    void setStatus(const QString &status);
    void setRunning(bool running);
    void deleteIfDone();

    platform::IZipper *m_zipper;
    platform::IFilePicker *m_picker;
    const Clock *m_clock;
    HoldOpen m_holdOpen;
    QString m_folder;
    QLocale m_locale;
    QString m_status = QStringLiteral("Drop files to zip, or pick them");
    bool m_running = false;
    int m_runs = 0;
    int m_picks = 0; // dialogs open for this engine
    bool m_orphaned = false;
    // Archives being written, so two runs in the same second never share one.
    QSet<QString> m_pending;
};
