#pragma once

#include "audiorecorder.h"
#include "processrunner.h"

#include <QFile>
#include <QStringList>

// A recorder in memory. record() creates the file it is given, so that the
// memo folder sees the recording.
class FakeAudioRecorder final : public platform::IAudioRecorder {
    Q_OBJECT
public:
    int accessRequests = 0;
    bool answerAtOnce = true;
    bool granted = true;
    bool recordSucceeds = true;
    QStringList recordedPaths;
    bool recording = false;
    double time = 0;
    double power = -160;

    void requestAccess() override
    {
        ++accessRequests;
        if (answerAtOnce)
            emit accessAnswered(granted);
    }
    bool record(const QString &path) override
    {
        if (!recordSucceeds)
            return false;
        recordedPaths << path;
        QFile f(path);
        if (f.open(QIODevice::WriteOnly))
            f.write("recording");
        recording = true;
        return true;
    }
    void stop() override { recording = false; }
    double currentTime() const override { return time; }
    double averagePower() const override { return power; }

    void answer(bool yes) { emit accessAnswered(yes); }
    void fail() { emit failed(); }
    void complete() { emit finished(); }
};

class FakeAudioPlayer final : public platform::IAudioPlayer {
    Q_OBJECT
public:
    bool openSucceeds = true;
    QString path;
    int plays = 0;
    int opens = 0;
    State current = State::Stopped;

    bool open(const QString &p) override
    {
        ++opens;
        if (!openSucceeds)
            return false;
        path = p;
        return true;
    }
    void play() override
    {
        ++plays;
        set(State::Playing);
    }
    void pause() override { set(State::Paused); }
    void stop() override
    {
        path.clear();
        set(State::Stopped);
    }
    State state() const override { return current; }

    // The memo has played to its end.
    void finish() { set(State::Stopped); }
    void set(State s)
    {
        if (current == s)
            return;
        current = s;
        emit stateChanged(s);
    }
};

// Tools in memory: each run is kept with its completion, which the test
// gives when it likes (or at once, from a list of answers).
class FakeProcessRunner final : public platform::IProcessRunner {
public:
    struct Run {
        QString program;
        QStringList args;
        int timeoutMs;
        Done done;
    };
    QStringList executables;     // paths isExecutable() accepts
    QString onSearchPath;        // what findExecutable() finds
    QList<bool> answers;         // answered at once, in order, while there are any
    // Run at once before answering (e.g. to write the output file).
    std::function<void(const QString &program, const QStringList &args)> effect;
    QList<Run> runs;

    bool isExecutable(const QString &path) const override { return executables.contains(path); }
    QString findExecutable(const QString &) const override { return onSearchPath; }
    void run(const QString &program, const QStringList &args, int timeoutMs, Done done) override
    {
        runs.append({program, args, timeoutMs, done});
        if (answers.isEmpty())
            return;
        const bool ok = answers.takeFirst();
        if (effect)
            effect(program, args);
        done(ok);
    }
};

class FakeFileRevealer final : public platform::IFileRevealer {
public:
    QStringList revealed;
    void reveal(const QString &path) override { revealed << path; }
};
