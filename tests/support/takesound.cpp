#include "support/takesound.h"

#include <QProcess>
#include <algorithm>
#include <cmath>

namespace {
constexpr int Window = TakeSound::Rate / 100;
constexpr double QuietDb = -40;
} // namespace

TakeSound TakeSound::decode(const QString &path)
{
    TakeSound sound;
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"), {"-v", "error", "-i", path, "-f", "s16le", "-ac", "1", "-ar",
                                            QString::number(Rate), "-"});
    if (!ffmpeg.waitForFinished(60000) || ffmpeg.exitStatus() != QProcess::NormalExit || ffmpeg.exitCode() != 0)
        return sound;
    const QByteArray raw = ffmpeg.readAllStandardOutput();
    sound.m_samples.resize(raw.size() / 2);
    std::copy_n(reinterpret_cast<const qint16 *>(raw.constData()), sound.m_samples.size(), sound.m_samples.data());
    return sound;
}

double TakeSound::levelDb(double from, double to) const
{
    const qsizetype a = std::clamp<qsizetype>(qsizetype(from * Rate), 0, m_samples.size());
    const qsizetype b = std::clamp<qsizetype>(qsizetype(to * Rate), a, m_samples.size());
    if (b == a)
        return -160;
    double sum = 0;
    for (qsizetype i = a; i < b; ++i)
        sum += double(m_samples[i]) * m_samples[i];
    const double rms = std::sqrt(sum / double(b - a)) / 32768.0;
    return rms <= 1e-8 ? -160 : 20 * std::log10(rms);
}

QList<TakeSound::Quiet> TakeSound::quiets() const
{
    QList<Quiet> out;
    const qsizetype windows = m_samples.size() / Window;
    qsizetype runStart = -1;
    auto close = [&](qsizetype end) {
        if (runStart >= 0 && end - runStart >= 3)
            out.append({double(runStart * Window) / Rate, double(end * Window) / Rate});
        runStart = -1;
    };
    for (qsizetype w = 0; w < windows; ++w) {
        const double t = double(w * Window) / Rate;
        const bool quiet = levelDb(t, t + double(Window) / Rate) < QuietDb;
        if (quiet && runStart < 0)
            runStart = w;
        else if (!quiet)
            close(w);
    }
    if (runStart >= 0) {
        close(windows);
        if (!out.isEmpty() && qsizetype(out.last().to * Rate) >= windows * Window)
            out.last().to = seconds();
    }
    return out;
}

double TakeSound::leadingQuiet() const
{
    const QList<Quiet> q = quiets();
    return !q.isEmpty() && q.first().from == 0 ? q.first().to : 0;
}

double TakeSound::trailingQuiet() const
{
    const QList<Quiet> q = quiets();
    return !q.isEmpty() && q.last().to >= seconds() - 0.0001 ? seconds() - q.last().from : 0;
}
