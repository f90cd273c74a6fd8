#include "media/voicememoengine.h"

#include "core/filetrash.h"

#include "core/clock.h"
#include "core/localeformats.h"
#include "core/publish.h"
#include "core/userdefaults.h"
#include "media/mediarules.h"
#include "media/mp4duration.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QPointer>
#include <QRegularExpression>
#include <QStandardPaths>
#include <algorithm>

QHash<int, QByteArray> VoiceMemoListRow::roles()
{
    return {{IdRole, "memoId"}, {MemoRole, "memo"}};
}

QVariant VoiceMemoListRow::roleValue(int role) const
{
    switch (role) {
    case IdRole: return id;
    case MemoRole: return QVariant::fromValue(memo);
    default: return {};
    }
}

void sortMemos(QList<VoiceMemo> &memos)
{
    std::sort(memos.begin(), memos.end(), [](const VoiceMemo &a, const VoiceMemo &b) {
        if (a.favorite != b.favorite)
            return a.favorite;
        if (a.date != b.date)
            return a.date > b.date;
        return a.file < b.file; // the same order on every listing
    });
}

QString recordingStamp(const QDateTime &at)
{
    const QLocale locale;
    QString stamp = locale.toString(at.date(), LocaleFormats::monthDay(locale))
        + LocaleFormats::dateTimeSeparator(locale) + locale.toString(at.time(), LocaleFormats::hourMinute(locale));
    stamp.replace(QLatin1Char('/'), QLatin1Char('-'));
    return stamp;
}

VoiceMemoFolders VoiceMemoFolders::standard()
{
    VoiceMemoFolders folders;
    QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (data.isEmpty())
        data = QDir::tempPath();
    folders.memos = QDir(data).filePath(QStringLiteral("Pavlet/Memos"));
    folders.downloads = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    if (folders.downloads.isEmpty())
        folders.downloads = QDir::home().filePath(QStringLiteral("Downloads"));
    return folders;
}

VoiceMemoEngine::VoiceMemoEngine(platform::IMicRecorder &recorder, platform::IAudioPlayer &player,
                                 Mp3Exporter &exporter, platform::IFileRevealer &revealer, const Clock &clock,
                                 Scheduler &scheduler, const QString &memosFolder, QObject *parent)
    : QObject(parent)
    , m_recorder(recorder)
    , m_player(player)
    , m_exporter(exporter)
    , m_revealer(revealer)
    , m_clock(clock)
    , m_scheduler(scheduler)
    , m_folder(memosFolder)
    , m_memoList(new VoiceMemoListModel(this))
{
    connect(&m_recorder, &platform::IMicRecorder::recordingStarted, this, &VoiceMemoEngine::onRecorderStarted);
    connect(&m_recorder, &platform::IMicRecorder::failed, this, &VoiceMemoEngine::onRecorderFailed);
    connect(&m_recorder, &platform::IMicRecorder::finished, this, &VoiceMemoEngine::onRecorderFinished);
    connect(&m_recorder, &platform::IMicRecorder::inputLost, this, &VoiceMemoEngine::onRecorderLost);
    connect(&m_player, &platform::IAudioPlayer::stateChanged, this, &VoiceMemoEngine::updateIsPlaying);
    // A memo that began but could not be played (the sound server gone)
    // says so rather than ending as if it had played.
    connect(&m_player, &platform::IAudioPlayer::failed, this, [this] {
        if (!m_playerLoaded)
            return;
        stopPlayback();
        setStatus(StatusCannotPlay);
    });
    reload();
}

VoiceMemoEngine::~VoiceMemoEngine() = default;

QString VoiceMemoEngine::folder() const
{
    QDir().mkpath(m_folder);
    return m_folder;
}

// Listing ---------------------------------------------------------------

VoiceMemo VoiceMemoEngine::memoFrom(const QString &path) const
{
    const QFileInfo info(path);
    VoiceMemo memo;
    memo.file = info.fileName();
    memo.url = QUrl::fromLocalFile(info.absoluteFilePath());
    const auto meta = m_meta.constFind(memo.file);
    if (meta != m_meta.cend()) {
        memo.name = meta->name;
        memo.note = meta->note;
        memo.favorite = meta->favorite;
    } else {
        memo.name = info.completeBaseName();
    }
    // The creation time when the file system keeps one; the last change
    // otherwise, which stays put from one listing to the next.
    memo.date = info.birthTime().isValid() ? info.birthTime() : info.lastModified();
    if (!memo.date.isValid())
        memo.date = m_clock.now();
    memo.duration = mp4DurationSeconds(path);
    return memo;
}

void VoiceMemoEngine::reload()
{
    const QDir dir(folder());
    const QString indexPath = dir.filePath(VoiceMemoIndex::FileName);
    bool damaged = false;
    m_meta = VoiceMemoIndex::read(indexPath, &damaged);
    const QHash<QString, StoredMeta> onDisk = m_meta;
    const bool indexExists = QFileInfo::exists(indexPath);
    // A damaged index is kept as it was before the first save replaces it;
    // without a copy it is not replaced at all.
    if (damaged && !keepDamagedFile(indexPath))
        m_indexLocked = true;
    QList<VoiceMemo> memos;
    const QFileInfoList entries = dir.entryInfoList(QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo &entry : entries) {
        if (entry.suffix().toLower() != QLatin1String("m4a") || entry.fileName().startsWith(QLatin1Char('.')))
            continue;
        // A take in progress is listed once its file is complete.
        if (m_take != Take::Idle && entry.absoluteFilePath() == m_takePath)
            continue;
        memos.append(memoFrom(entry.absoluteFilePath()));
    }
    sortMemos(memos);
    setMemos(memos);
    // A failure is told until the list is shown again; then the count is.
    if (m_take == Take::Idle && m_exportingID.isEmpty() && MediaRules::isMemoFailure(m_status))
        setStatus(m_memos.isEmpty() ? StatusIdle : QStringLiteral("%1 saved").arg(m_memos.size()));
    // The index is written only when the folder no longer matches it: an
    // unchanged one costs no write (and no wait on the disk) at every start.
    saveMeta(damaged || !indexExists ? nullptr : &onDisk);
}

void VoiceMemoEngine::saveMeta(const QHash<QString, StoredMeta> *onDisk)
{
    QHash<QString, StoredMeta> meta;
    for (const VoiceMemo &memo : std::as_const(m_memos))
        meta.insert(memo.file, StoredMeta{memo.name, memo.note, memo.favorite});
    m_meta = meta;
    if (m_indexLocked)
        return;
    m_metaSaved = (onDisk && *onDisk == m_meta)
                  || VoiceMemoIndex::write(QDir(folder()).filePath(VoiceMemoIndex::FileName), m_meta);
    if (!m_metaSaved && m_exportingID.isEmpty())
        setStatus(StatusNotSaved);
    else if (m_metaSaved && m_status == StatusNotSaved)
        setStatus(m_memos.isEmpty() ? StatusIdle : QStringLiteral("%1 saved").arg(m_memos.size()));
}

// Recording -------------------------------------------------------------

QString VoiceMemoEngine::newRecordingPath() const
{
    const QDir dir(folder());
    const QString stamp = recordingStamp(m_clock.now().toLocalTime());
    QString path = dir.filePath(stamp + QStringLiteral(".m4a"));
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = dir.filePath(QStringLiteral("%1 %2.m4a").arg(stamp).arg(n));
    return path;
}

void VoiceMemoEngine::toggleRecord()
{
    switch (m_take) {
    case Take::Idle: record(); return;
    case Take::Recording: stopRecording(); return;
    case Take::Starting:
        // Called off before any sound was recorded: nothing is listed.
        m_discard = true;
        m_takeLimit = m_scheduler.after(FinishLimitMs, [this] { finishTake(); });
        setTake(Take::Finishing);
        m_recorder.stop();
        return;
    case Take::AskingMic: // the microphone has not answered the first request yet
    case Take::Finishing: return;
    }
}

void VoiceMemoEngine::endTakeAndPlayback()
{
    if (m_take == Take::AskingMic)
        setTake(Take::Idle); // the answer, when it comes, starts nothing
    else if (m_take == Take::Recording || m_take == Take::Starting)
        toggleRecord();
    stopPlayback();
}

void VoiceMemoEngine::record()
{
    stopPlayback();
    setTake(Take::AskingMic);
    QPointer<VoiceMemoEngine> self(this);
    m_recorder.requestPermission([self](bool granted) {
        if (self)
            self->onAccess(granted);
    });
}

void VoiceMemoEngine::onAccess(bool granted)
{
    if (m_take != Take::AskingMic)
        return;
    if (!granted) {
        setTake(Take::Idle);
        setStatus(StatusNoMic);
        return;
    }
    // Set first: a recorder may report its start from inside start().
    m_takePath = newRecordingPath();
    m_discard = false;
    m_inputLost = false;
    setTake(Take::Starting);
    m_takeLimit = m_scheduler.after(StartLimitMs, [this] { onRecorderFailed(); });
    if (!m_recorder.start(m_takePath)) {
        endTake();
        setStatus(StatusCannotRecord);
    }
}

void VoiceMemoEngine::onRecorderStarted()
{
    if (m_take != Take::Starting)
        return;
    m_takeLimit.cancel();
    // The views see the take recording before they see it no longer starting.
    m_take = Take::Recording;
    setRecording(true);
    setElapsed(0);
    setLevel(0);
    setStatus(StatusRecording);
    emit startingChanged();
    m_stall.reset();
    m_meterTask = m_scheduler.every(MeterIntervalMs, [this] { meterTick(); });
}

void VoiceMemoEngine::meterTick()
{
    if (!m_recording) {
        m_meterTask.cancel();
        return;
    }
    // The counter shows the sound the take holds, and so stops with it.
    const double time = m_recorder.currentTime();
    setElapsed(time);
    const double db = m_recorder.averagePowerDb();
    setLevel(float(std::clamp((db + 45.0) / 40.0, 0.0, 1.0)));
    if (m_stall.stalled(time)) {
        // The input gives nothing without having gone away (suspended, or
        // its stream stuck); the stop keeps what it gave.
        loseInput();
    }
}

void VoiceMemoEngine::stopRecording()
{
    m_meterTask.cancel();
    setTake(Take::Finishing);
    m_takeLimit = m_scheduler.after(FinishLimitMs, [this] { finishTake(); });
    m_recorder.stop();
    setRecording(false);
    setElapsed(0);
    setLevel(0);
}

void VoiceMemoEngine::onRecorderLost()
{
    if (m_take != Take::Recording)
        return;
    // The recorder ended the take itself; its file follows as after a stop.
    loseInput();
}

void VoiceMemoEngine::loseInput()
{
    m_inputLost = true;
    stopRecording();
    // Said at once: whether the take holds sound is known with its file.
    setStatus(StatusMicLost);
}

void VoiceMemoEngine::onRecorderFinished()
{
    if (m_take == Take::Finishing)
        finishTake();
}

void VoiceMemoEngine::finishTake()
{
    const QString path = m_takePath;
    const bool discard = m_discard;
    const bool lost = m_inputLost;
    endTake();
    // A file without sound (the encoder never got any, or its index was
    // never written) opens in no player: it is not a memo.
    const bool holdsSound = !discard && mp4DurationSeconds(path) > 0;
    if (!holdsSound)
        QFile::remove(path);
    reload();
    if (discard)
        return;
    if (!holdsSound)
        setStatus(lost ? StatusMicLost : StatusCannotRecord);
    else if (lost)
        setStatus(StatusMicLostKept);
    else if (m_metaSaved)
        setStatus(m_memos.isEmpty() ? StatusSaved : QStringLiteral("%1 saved").arg(m_memos.size()));
}

void VoiceMemoEngine::onRecorderFailed()
{
    if (m_take != Take::Starting && m_take != Take::Recording && m_take != Take::Finishing)
        return;
    const bool wasFinishing = m_take == Take::Finishing;
    const bool discard = m_discard;
    const bool lost = m_inputLost;
    const QString path = m_takePath;
    endTake();
    if (!wasFinishing)
        m_recorder.stop();
    QFile::remove(path);
    reload();
    if (!discard)
        setStatus(lost ? StatusMicLost : StatusCannotRecord);
}

void VoiceMemoEngine::endTake()
{
    m_takeLimit.cancel();
    m_meterTask.cancel();
    setTake(Take::Idle);
    m_takePath.clear();
    m_discard = false;
    m_inputLost = false;
    setRecording(false);
    setElapsed(0);
    setLevel(0);
}

// Playback --------------------------------------------------------------

bool VoiceMemoEngine::isPlaying() const
{
    return !m_playingURL.isEmpty() && m_playerLoaded && m_player.state() == platform::IAudioPlayer::State::Playing;
}

void VoiceMemoEngine::togglePlay(const VoiceMemo &memo)
{
    if (m_recording)
        return;
    if (!m_playingURL.isEmpty() && m_playingURL == memo.url && m_playerLoaded) {
        if (m_player.state() == platform::IAudioPlayer::State::Playing) {
            m_player.pause();
            updateIsPlaying();
            return;
        }
        m_player.resume();
        updateIsPlaying();
        m_meterTask = m_scheduler.every(PlaybackIntervalMs, [this] { playbackTick_(); });
        return;
    }
    stopPlayback();
    if (!m_player.play(memo.url.toLocalFile())) {
        setStatus(StatusCannotPlay);
        return;
    }
    m_playerLoaded = true;
    setPlayingURL(memo.url);
    setStatus(memo.name);
    updateIsPlaying();
    m_meterTask = m_scheduler.every(PlaybackIntervalMs, [this] { playbackTick_(); });
}

void VoiceMemoEngine::playbackTick_()
{
    // A paused memo stays loaded so that it resumes where it stopped; only
    // the end of the memo (or a stop) forgets it.
    if (!m_playerLoaded || m_player.state() == platform::IAudioPlayer::State::Stopped) {
        m_meterTask.cancel();
        m_playerLoaded = false;
        m_player.stop();
        setPlayingURL({});
        updateIsPlaying();
        return;
    }
    if (m_player.state() == platform::IAudioPlayer::State::Playing)
        emit playbackTick();
}

void VoiceMemoEngine::stopPlayback()
{
    m_meterTask.cancel();
    if (m_playerLoaded)
        m_player.stop();
    m_playerLoaded = false;
    setPlayingURL({});
    updateIsPlaying();
}

// Editing ---------------------------------------------------------------

int VoiceMemoEngine::indexOf(const VoiceMemo &memo) const
{
    for (int i = 0; i < m_memos.size(); ++i) {
        if (m_memos.at(i).file == memo.file)
            return i;
    }
    return -1;
}

void VoiceMemoEngine::toggleExpanded(const VoiceMemo &memo)
{
    setExpandedID(m_expandedID == memo.file ? QString() : memo.file);
}

void VoiceMemoEngine::edit(const VoiceMemo &memo, const std::function<void(VoiceMemo &)> &change, bool resort)
{
    const int i = indexOf(memo);
    if (i < 0)
        return;
    change(m_memos[i]);
    if (resort)
        sortMemos(m_memos);
    memosEdited();
    saveMeta();
}

void VoiceMemoEngine::rename(const VoiceMemo &memo, const QString &name)
{
    edit(memo, [&](VoiceMemo &m) { m.name = name; });
}

void VoiceMemoEngine::setNote(const VoiceMemo &memo, const QString &note)
{
    edit(memo, [&](VoiceMemo &m) { m.note = note; });
}

void VoiceMemoEngine::toggleFavorite(const VoiceMemo &memo)
{
    edit(memo, [](VoiceMemo &m) { m.favorite = !m.favorite; }, true);
}

void VoiceMemoEngine::deleteMemo(const VoiceMemo &memo)
{
    if (!m_playingURL.isEmpty() && m_playingURL == memo.url)
        stopPlayback();
    if (m_expandedID == memo.file)
        setExpandedID({});
    const QString path = memo.url.toLocalFile();
    // To the desktop's trash, so a mistaken tap can be undone there.
    FileTrash::moveToTrash(path, m_trashFolder);
    // A file that is still there keeps its entry, name and note included.
    if (QFileInfo::exists(path))
        return;
    const auto removed = m_memos.removeIf([&](const VoiceMemo &m) { return m.file == memo.file; });
    if (removed > 0)
        memosEdited();
    saveMeta();
}

// Export ----------------------------------------------------------------

void VoiceMemoEngine::exportMP3(const VoiceMemo &memo)
{
    if (!m_exportingID.isEmpty())
        return;
    setExportingID(memo.file);
    setStatus(StatusExporting);
    QPointer<VoiceMemoEngine> self(this);
    auto finished = [self](const QString &destination, bool ok) {
        if (!self)
            return;
        self->setExportingID({});
        if (ok) {
            self->setStatus(StatusExported);
            self->m_revealer.reveal(destination);
        } else if (self->m_exporter.ffmpegPath().isEmpty()) {
            self->setStatus(StatusNoFfmpeg);
        } else {
            self->setStatus(StatusExportFailed);
        }
    };
    const QString destination =
        m_exporter.reserveDestination(Mp3Exporter::cleanName(memo.name), QStringLiteral("mp3"));
    if (destination.isEmpty()) {
        finished({}, false);
        return;
    }
    m_exporter.convert(memo.url.toLocalFile(), destination,
                       [finished, destination](bool ok) { finished(destination, ok); });
}

// Published values ------------------------------------------------------

void VoiceMemoEngine::setMemos(const QList<VoiceMemo> &memos)
{
    if (m_memos == memos)
        return;
    m_memos = memos;
    memosEdited();
}

void VoiceMemoEngine::memosEdited()
{
    std::vector<VoiceMemoListRow> rows;
    rows.reserve(size_t(m_memos.size()));
    for (const VoiceMemo &memo : std::as_const(m_memos))
        rows.push_back({memo.file, memo});
    m_memoList->sync(rows);
    emit memosChanged();
}

void VoiceMemoEngine::setTake(Take take)
{
    const bool wasStarting = m_take == Take::AskingMic || m_take == Take::Starting;
    m_take = take;
    if (starting() != wasStarting)
        emit startingChanged();
}

void VoiceMemoEngine::setRecording(bool on)
{
    publish(this, m_recording, on, &VoiceMemoEngine::recordingChanged);
}

void VoiceMemoEngine::setPlayingURL(const QUrl &url)
{
    publish(this, m_playingURL, url, &VoiceMemoEngine::playingURLChanged);
}

void VoiceMemoEngine::updateIsPlaying()
{
    const bool now = isPlaying();
    if (now == m_lastIsPlaying)
        return;
    m_lastIsPlaying = now;
    emit isPlayingChanged();
}

void VoiceMemoEngine::setElapsed(double s)
{
    publish(this, m_elapsed, s, &VoiceMemoEngine::elapsedChanged);
}

void VoiceMemoEngine::setLevel(float level)
{
    publish(this, m_level, level, &VoiceMemoEngine::levelChanged);
}

void VoiceMemoEngine::setStatus(const QString &status)
{
    publish(this, m_status, status, &VoiceMemoEngine::statusChanged);
}

void VoiceMemoEngine::setExportingID(const QString &id)
{
    publish(this, m_exportingID, id, &VoiceMemoEngine::exportingIDChanged);
}

void VoiceMemoEngine::setExpandedID(const QString &id)
{
    publish(this, m_expandedID, id, &VoiceMemoEngine::expandedIDChanged);
}
