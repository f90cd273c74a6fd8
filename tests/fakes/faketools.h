#pragma once

#include "platform/audiorecorder.h"
#include "platform/filepicker.h"
#include "platform/processrunner.h"
#include "platform/zipper.h"

#include <QFile>
#include <QMap>
#include <QSet>

// A zipper that remembers each request; the test finishes them by hand.
class FakeZipper final : public platform::IZipper {
public:
    struct Run {
        QList<QByteArray> inputs;
        QString archivePath;
        Done done;
    };
    QList<Run> runs;

    void zip(const QList<QByteArray> &inputs, const QString &archivePath, Done done) override
    {
        runs.append({inputs, archivePath, std::move(done)});
    }
    void finish(int index, int status, const QString &note = {}) { runs[index].done(status, note); }
};

// A dialog that stays open until the test closes it.
class FakeFilePicker final : public platform::IFilePicker {
public:
    QList<Answer> open;
    QString lastLabel;
    int shown = 0;

    void pickFilesAndFolders(const QString &confirmLabel, Answer done) override
    {
        ++shown;
        lastLabel = confirmLabel;
        open.append(std::move(done));
    }
    // The user closes the oldest dialog (none: cancelled); its answer is
    // dropped right after it ran, as the real dialog's is.
    void close(std::optional<QList<QUrl>> picked)
    {
        Answer done = open.takeFirst();
        done(std::move(picked));
    }
};

// Remembers each program run; the test answers them by hand.
class FakeProcessRunner final : public platform::IProcessRunner {
public:
    struct Run {
        QString program;
        QStringList arguments;
        std::function<void(const platform::ProcessResult &)> done;
        int timeoutMs = 0;
    };
    QList<Run> runs;

    using platform::IProcessRunner::run;
    void run(const QString &program, const QStringList &arguments, int timeoutMs,
             std::function<void(const platform::ProcessResult &)> done) override
    {
        runs.append({program, arguments, std::move(done), timeoutMs});
    }
    void finish(int index, int status, const QString &output = {}) { runs[index].done({status, output}); }
};

class FakeToolLocator final : public platform::IToolLocator {
public:
    QMap<QString, QString> tools;
    QStringList asked;

    QString find(const QString &name) override
    {
        asked.append(name);
        return tools.value(name);
    }
};

// A microphone whose permission answer, start result and level the test
// sets.
class FakeMicRecorder final : public platform::IMicRecorder {
    Q_OBJECT
public:
    QList<std::function<void(bool)>> pendingPermissions;
    bool startSucceeds = true;
    QStringList started;
    int stops = 0;
    double powerDb = -160;
    double time = 0;
    bool recording = false;
    bool writesFile = false;  // a take leaves a small file at its path
    bool startsAtOnce = true; // the take begins from inside start()

    void requestPermission(std::function<void(bool)> done) override { pendingPermissions.append(std::move(done)); }
    void answer(bool granted)
    {
        auto done = pendingPermissions.takeFirst();
        done(granted);
    }
    bool start(const QString &path) override
    {
        if (!startSucceeds)
            return false;
        started.append(path);
        QFile file(path);
        if (writesFile && file.open(QIODevice::WriteOnly))
            file.write("take");
        recording = true;
        if (startsAtOnce)
            emit recordingStarted();
        return true;
    }
    void stop() override
    {
        ++stops;
        recording = false;
    }
    double averagePowerDb() override { return powerDb; }
    double currentTime() const override { return time; }

    // The take's first sound reached the file / it broke off / its file is
    // complete.
    void begin() { emit recordingStarted(); }
    void fail() { emit failed(); }
    void complete() { emit finished(); }
    void lose()
    {
        recording = false;
        emit inputLost();
    }
};

class FakeAudioPlayer final : public platform::IAudioPlayer {
    Q_OBJECT
public:
    bool succeeds = true;
    QStringList played;
    int resumes = 0;
    State current = State::Stopped;

    bool play(const QString &path) override
    {
        if (!succeeds)
            return false;
        played.append(path);
        set(State::Playing);
        return true;
    }
    void pause() override { set(State::Paused); }
    void resume() override
    {
        ++resumes;
        set(State::Playing);
    }
    void stop() override { set(State::Stopped); }
    State state() const override { return current; }

    // The file has played to its end.
    void finish() { set(State::Stopped); }
    // The sound could not be played after all (the sound server went away).
    void breakOff()
    {
        set(State::Stopped);
        emit failed();
    }
    void set(State s)
    {
        if (current == s)
            return;
        current = s;
        emit stateChanged(s);
    }
};

class FakeSoundPlayer final : public platform::ISoundPlayer {
public:
    int beeps = 0;
    int alerts = 0;
    bool alertLoads = false;
    void beep() override { ++beeps; }
    bool playAlert() override
    {
        ++alerts;
        return alertLoads;
    }
};
