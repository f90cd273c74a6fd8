#pragma once

#include "platform/processrunner.h"

#include <QString>
#include <QStringList>
#include <functional>

// Conversion of a recording to MP3 with the ffmpeg tool, into a folder
// (Downloads).
class Mp3Exporter {
public:
    // Generous: a long memo converts in seconds; only a hung tool takes this.
    static constexpr int DefaultTimeoutMs = 10 * 60 * 1000;
    // The longest file name Linux file systems take, in bytes of UTF-8.
    static constexpr int MaxNameBytes = 255;

    Mp3Exporter(platform::IToolLocator &tools, platform::IProcessRunner &runner, const QString &folder,
                int timeoutMs = DefaultTimeoutMs);

    // The memo's name as a file name: trimmed, "/" and ":" as "-", "Voice
    // memo" when nothing is left.
    static QString cleanName(const QString &name);
    // base cut after a whole character so that base + tail fits in
    // MaxNameBytes; spaces left at the cut go too.
    static QString fitName(const QString &base, const QString &tail);
    // Where ffmpeg is; empty when there is none.
    QString ffmpegPath() const;
    // Claims "<base>.<ext>", else "<base> 2.<ext>", "<base> 3.<ext>"… in the
    // folder by creating it empty, so that nothing else takes the name while
    // the conversion runs; a base too long for a file name is shortened.
    // Empty when no name could be claimed.
    QString reserveDestination(const QString &base, const QString &ext) const;
    // Converts input into output (a reserved file), first with the MP3
    // encoder named, then with ffmpeg's own choice. done runs once; on
    // failure the output file is gone.
    void convert(const QString &input, const QString &output, std::function<void(bool)> done);

    QString folder() const { return m_folder; }

private:
    platform::IToolLocator &m_tools;
    platform::IProcessRunner &m_runner;
    QString m_folder;
    int m_timeoutMs;
};
