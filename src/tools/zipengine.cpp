#include "tools/zipengine.h"

#include "core/clock.h"
#include "platform/filepicker.h"
#include "platform/zipper.h"

#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QRegularExpression>

ZipEngine::ZipEngine(platform::IZipper *zipper, platform::IFilePicker *picker, const Clock *clock,
                     const QString &downloadsFolder, const QLocale &locale, QObject *parent)
    : QObject(parent), m_zipper(zipper), m_picker(picker), m_clock(clock), m_folder(downloadsFolder), m_locale(locale)
{
}

QString ZipEngine::timeText(const QDateTime &when, const QLocale &locale)
{
    // The long time format without its time zone.
    QString format = locale.timeFormat(QLocale::LongFormat);
    format.remove(QRegularExpression(QStringLiteral("\\s*t+\\s*")));
    return locale.toString(when.time(), format.trimmed());
}

QString ZipEngine::archiveName(const QDateTime &when, const QLocale &locale)
{
    return QStringLiteral("Pavlet ") + timeText(when, locale) + QStringLiteral(".zip");
}

QString ZipEngine::freeArchivePath(const QString &name) const
{
    const QDir folder(m_folder);
    const QString base = name.chopped(4); // ".zip"
    QString candidate = folder.filePath(name);
    for (int n = 2; QFileInfo::exists(candidate) || m_pending.contains(candidate); ++n)
        candidate = folder.filePath(base + u' ' + QString::number(n) + QStringLiteral(".zip"));
    return candidate;
}

void ZipEngine::zip(const QList<QUrl> &urls)
{
    QList<QByteArray> inputs;
    for (const QUrl &url : urls) {
        const QByteArray path = ToolFolders::localPath(url);
        if (!path.isEmpty())
            inputs.append(path);
    }
    if (inputs.isEmpty()) {
        setStatus(QStringLiteral("Nothing to zip"));
        return;
    }
    if (!QFileInfo(m_folder).isDir()) {
        setStatus(QStringLiteral("Couldn't compress: no Downloads folder"));
        return;
    }
    ++m_runs;
    setRunning(true);
    setStatus(QStringLiteral("Compressing\u2026"));

    const QString path = freeArchivePath(archiveName(m_clock->now(), m_locale));
    m_pending.insert(path);
    QPointer<ZipEngine> self(this);
    m_zipper->zip(inputs, path, [self, path](int status, const QString &note) {
        if (self)
            self->finish(path, status, note);
    });
}

void ZipEngine::finish(const QString &path, int status, const QString &note)
{
    m_pending.remove(path);
    // Overlapping runs: the flag stays up until the last one ends.
    if (--m_runs <= 0) {
        m_runs = 0;
        setRunning(false);
    }
    setStatus(finishedText(QFileInfo(path).fileName(), status, note));
    deleteIfDone();
}

QString ZipEngine::finishedText(const QString &archive, int status, const QString &note)
{
    if (status != 0)
        return note.isEmpty() ? QStringLiteral("Couldn't compress") : QStringLiteral("Couldn't compress: ") + note;
    const QStringList leftOut = note.split(u'\n', Qt::SkipEmptyParts);
    if (leftOut.isEmpty())
        return QStringLiteral("Saved ") + archive;
    // The first few by name, the rest counted.
    constexpr int named = 3;
    QString text = QStringLiteral("Saved ") + archive + QStringLiteral(", left out: ")
                   + leftOut.mid(0, named).join(QStringLiteral(", "));
    if (leftOut.size() > named)
        text += QStringLiteral(" and %1 more").arg(leftOut.size() - named);
    return text;
}

void ZipEngine::setOwner(QObject *owner)
{
    connect(owner, &QObject::destroyed, this, [this] {
        m_orphaned = true;
        deleteIfDone();
    });
}

void ZipEngine::deleteIfDone()
{
    if (m_orphaned && m_runs == 0 && m_picks == 0)
        deleteLater();
}

void ZipEngine::pick()
{
    // The answer reaches this engine only while it lives; the hold goes
    // when the picker drops the answer after the dialog closed.
    ++m_picks;
    QPointer<ZipEngine> self(this);
    m_picker->pickFilesAndFolders(QStringLiteral("Zip"),
                                  [self, hold = m_holdOpen ? m_holdOpen() : nullptr](auto picked) {
                                      if (!self)
                                          return;
                                      --self->m_picks;
                                      if (picked)
                                          self->zip(*picked);
                                      self->deleteIfDone();
                                  });
}

void ZipEngine::setStatus(const QString &status)
{
    if (m_status != status) {
        m_status = status;
        emit statusChanged();
    }
}

void ZipEngine::setRunning(bool running)
{
    if (m_running != running) {
        m_running = running;
        emit runningChanged();
    }
}
