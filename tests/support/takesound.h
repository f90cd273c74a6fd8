#pragma once

#include <QList>
#include <QString>
#include <QVector>

// What a recorded file holds, as ffmpeg decodes it (mono, 16-bit, 44.1 kHz):
// its length, its level, and where it is silent.
class TakeSound {
public:
    static constexpr int Rate = 44100;

    // Empty when ffmpeg cannot read the file.
    static TakeSound decode(const QString &path);

    bool isEmpty() const { return m_samples.isEmpty(); }
    double seconds() const { return double(m_samples.size()) / Rate; }
    // dBFS of the stretch from..to (seconds), -160 for silence.
    double levelDb(double from, double to) const;

    // A stretch of silence (quieter than -40 dBFS over 10 ms) of at least
    // 30 ms, in seconds from the start.
    struct Quiet {
        double from;
        double to;
    };
    QList<Quiet> quiets() const;
    // Seconds of silence the file begins / ends with.
    double leadingQuiet() const;
    double trailingQuiet() const;

private:
    QVector<qint16> m_samples;
};
