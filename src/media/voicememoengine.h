#pragma once

#include "core/filetrash.h"
#include "core/recordlistmodel.h"
#include "core/scheduler.h"
#include "core/stallwatch.h"
#include "media/mp3exporter.h"
#include "media/voicememoindex.h"
#include "platform/audiorecorder.h"
#include "platform/filerevealer.h"

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QUrl>
#include <QtQml/qqmlregistration.h>
#include <functional>
#include <optional>

class Clock;

// One recording in the memo folder.
struct VoiceMemo {
    Q_GADGET
    QML_VALUE_TYPE(voiceMemo)
    Q_PROPERTY(QString file MEMBER file)
    Q_PROPERTY(QUrl url MEMBER url)
    Q_PROPERTY(QString name MEMBER name)
    Q_PROPERTY(QString note MEMBER note)
    Q_PROPERTY(bool favorite MEMBER favorite)
    Q_PROPERTY(QDateTime date MEMBER date)
    Q_PROPERTY(double duration MEMBER duration)
public:
    QString file; // file name with extension: the memo's identity
    QUrl url;
    QString name;
    QString note;
    bool favorite = false;
    QDateTime date;
    double duration = 0;

    bool operator==(const VoiceMemo &) const = default;
};

// A row of the memo list model: one memo under its file name, so that a
// row keeps its place and its view while the memo is edited.
struct VoiceMemoListRow {
    QString id; // the memo's file
    VoiceMemo memo;

    enum Role { IdRole = Qt::UserRole, MemoRole };
    static QHash<int, QByteArray> roles();
    QVariant roleValue(int role) const;
    bool operator==(const VoiceMemoListRow &) const = default;
};

using VoiceMemoListModel = RecordListModel<VoiceMemoListRow>;

// Favourites first, then the newest first (file names settle ties).
void sortMemos(QList<VoiceMemo> &memos);

// The recording's name stamp in the user's locale: abbreviated month, day,
// hour and minute ("Dec 6, 4:14 PM"); never holds a "/".
QString recordingStamp(const QDateTime &at);

// Where the engine keeps its recordings and puts its exports.
struct VoiceMemoFolders {
    QString memos;     // the user's data folder + "Pavlet/Memos"
    QString downloads; // the Downloads folder, else ~/Downloads

    static VoiceMemoFolders standard();
};

// Voice memos: recording from the microphone, the list with names, notes
// and favourite marks, playback of one memo at a time, and MP3 export.
class VoiceMemoEngine : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Made by the composition root")
    Q_PROPERTY(QList<VoiceMemo> memos READ memos NOTIFY memosChanged)
    // The same list as a model whose rows are updated in place.
    Q_PROPERTY(RecordListModelBase *memoList READ memoList CONSTANT)
    Q_PROPERTY(bool recording READ recording NOTIFY recordingChanged)
    // A take was asked for and the recorder has not begun yet; a tap now
    // calls it off.
    Q_PROPERTY(bool starting READ starting NOTIFY startingChanged)
    Q_PROPERTY(QUrl playingURL READ playingURL NOTIFY playingURLChanged)
    Q_PROPERTY(bool isPlaying READ isPlaying NOTIFY isPlayingChanged)
    Q_PROPERTY(double elapsed READ elapsed NOTIFY elapsedChanged)
    Q_PROPERTY(float level READ level NOTIFY levelChanged)
    Q_PROPERTY(QString status READ status NOTIFY statusChanged)
    Q_PROPERTY(QString exportingID READ exportingID NOTIFY exportingIDChanged)
    Q_PROPERTY(QString expandedID READ expandedID WRITE setExpandedID NOTIFY expandedIDChanged)
public:
    static constexpr int MeterIntervalMs = 80;
    static constexpr int PlaybackIntervalMs = 120;
    // How long the recorder may take to begin a take, and to complete its
    // file after the stop, before the take counts as failed.
    static constexpr int StartLimitMs = 5000;
    static constexpr int FinishLimitMs = 15000;
    // How long a take's input may give nothing (not even silence) before
    // the take ends as if the input were lost.
    static constexpr int InputStallMs = 3000;
    static inline const QString StatusIdle = QStringLiteral("Tap the mic to record");
    static inline const QString StatusRecording = QStringLiteral("Recording…");
    static inline const QString StatusNoMic = QStringLiteral("Allow microphone in System Settings");
    static inline const QString StatusCannotRecord = QStringLiteral("Couldn't record");
    // The input went away during the take (the sound server ended, the
    // device was unplugged), with or without sound recorded before.
    static inline const QString StatusMicLost = QStringLiteral("Microphone lost");
    static inline const QString StatusMicLostKept = QStringLiteral("Microphone lost; recording kept");
    static inline const QString StatusCannotPlay = QStringLiteral("Couldn't play");
    static inline const QString StatusSaved = QStringLiteral("Saved");
    static inline const QString StatusExporting = QStringLiteral("Saving MP3…");
    static inline const QString StatusExported = QStringLiteral("Saved to Downloads");
    static inline const QString StatusNoFfmpeg = QStringLiteral("Install ffmpeg (apt install ffmpeg)");
    static inline const QString StatusExportFailed = QStringLiteral("Couldn't write MP3");
    // The names, notes and stars could not be written (a full disk): they
    // last until Pavlet quits, and the file on disk keeps the ones before.
    static inline const QString StatusNotSaved = QStringLiteral("Couldn't save changes");

    VoiceMemoEngine(platform::IMicRecorder &recorder, platform::IAudioPlayer &player, Mp3Exporter &exporter,
                    platform::IFileRevealer &revealer, const Clock &clock, Scheduler &scheduler,
                    const QString &memosFolder, QObject *parent = nullptr);
    ~VoiceMemoEngine() override;

    // The memo folder, created when missing.
    QString folder() const;

    Q_INVOKABLE void reload();
    Q_INVOKABLE void toggleRecord();
    // The island has closed: a take under way ends (kept when it holds
    // sound), one still waiting for the microphone is called off, and
    // playback stops.
    void endTakeAndPlayback();
    Q_INVOKABLE void togglePlay(const VoiceMemo &memo);
    Q_INVOKABLE void stopPlayback();
    Q_INVOKABLE void toggleExpanded(const VoiceMemo &memo);
    Q_INVOKABLE void rename(const VoiceMemo &memo, const QString &name);
    Q_INVOKABLE void setNote(const VoiceMemo &memo, const QString &note);
    Q_INVOKABLE void toggleFavorite(const VoiceMemo &memo);
    // Moves the recording to the desktop's trash and drops its entry.
    Q_INVOKABLE void deleteMemo(const VoiceMemo &memo);
    // Where deleted recordings go; the desktop's home trash unless set.
    void setTrashFolder(const QString &folder) { m_trashFolder = folder; }
    Q_INVOKABLE void exportMP3(const VoiceMemo &memo);

    QList<VoiceMemo> memos() const { return m_memos; }
    VoiceMemoListModel *memoList() const { return m_memoList; }
    bool recording() const { return m_recording; }
    bool starting() const { return m_take == Take::AskingMic || m_take == Take::Starting; }
    QUrl playingURL() const { return m_playingURL; }
    bool isPlaying() const;
    double elapsed() const { return m_elapsed; }
    float level() const { return m_level; }
    QString status() const { return m_status; }
    QString exportingID() const { return m_exportingID; }
    QString expandedID() const { return m_expandedID; }
    void setExpandedID(const QString &id);

signals:
    void memosChanged();
    void recordingChanged();
    void startingChanged();
    void playingURLChanged();
    void isPlayingChanged();
    // Every playback tick while a memo plays.
    void playbackTick();
    void elapsedChanged();
    void levelChanged();
    void statusChanged();
    void exportingIDChanged();
    void expandedIDChanged();

private:
    // A take from the press of record to its listing.
    enum class Take {
        Idle,
        AskingMic, // waiting for the permission answer
        Starting,  // the recorder opens the input and the encoder
        Recording, // sound reaches the file
        Finishing, // stopped; the recorder completes the file
    };

    void record();
    void onAccess(bool granted);
    void onRecorderStarted();
    void onRecorderFailed();
    void onRecorderFinished();
    void onRecorderLost();
    // The input went away or gave nothing for too long: the take ends with
    // what it holds.
    void loseInput();
    void stopRecording();
    // Ends the take: lists its file when it holds sound, else removes it.
    void finishTake();
    void endTake();
    void meterTick();
    void playbackTick_();
    // Writes the names, notes and stars (not when they equal onDisk, what the
    // folder's index file holds); a failure is told in the status.
    void saveMeta(const QHash<QString, StoredMeta> *onDisk = nullptr);
    VoiceMemo memoFrom(const QString &path) const;
    QString newRecordingPath() const;
    int indexOf(const VoiceMemo &memo) const;
    // Changes the listed memo with memo's file (if any), then stores the index.
    void edit(const VoiceMemo &memo, const std::function<void(VoiceMemo &)> &change, bool resort = false);

    void setMemos(const QList<VoiceMemo> &memos);
    // Tells the views that m_memos changed.
    void memosEdited();
    void setRecording(bool on);
    // Moves the take on, telling the views when it starts or stops starting.
    void setTake(Take take);
    void setPlayingURL(const QUrl &url);
    void updateIsPlaying();
    void setElapsed(double s);
    void setLevel(float level);
    void setStatus(const QString &status);
    void setExportingID(const QString &id);

    platform::IMicRecorder &m_recorder;
    platform::IAudioPlayer &m_player;
    Mp3Exporter &m_exporter;
    platform::IFileRevealer &m_revealer;
    const Clock &m_clock;
    Scheduler &m_scheduler;
    QString m_folder;

    QList<VoiceMemo> m_memos;
    VoiceMemoListModel *m_memoList;
    QHash<QString, StoredMeta> m_meta;
    bool m_indexLocked = false; // a damaged index no copy could be kept of
    bool m_recording = false;
    Take m_take = Take::Idle;
    QString m_takePath;     // the current take's file, left out of the list until it is complete
    bool m_discard = false; // the take was called off before it began
    bool m_inputLost = false; // the input went away during the take
    TaskHandle m_takeLimit;
    StallWatch m_stall{InputStallMs, MeterIntervalMs};
    bool m_playerLoaded = false;
    bool m_lastIsPlaying = false;
    QUrl m_playingURL;
    double m_elapsed = 0;
    float m_level = 0;
    QString m_status = StatusIdle;
    bool m_metaSaved = true;
    QString m_exportingID;
    QString m_expandedID;
    TaskHandle m_meterTask; // the meter loop or the playback loop
    QString m_trashFolder = FileTrash::homeTrash();
};
