#pragma once

#include <QString>

#include <optional>
#include <sys/types.h>

// Asks a small program of our own for OpenGL's renderer string, so that the
// island does not load OpenGL (and, with a software rasteriser, its code
// generator: tens of megabytes and milliseconds) only to learn it will draw
// without it. Started first thing, it asks while the program starts.
class RendererProbe {
public:
    // Starts `program` unless it is empty; it prints the string and exits 0,
    // or exits otherwise when it could make no OpenGL context.
    explicit RendererProbe(const QString &program);
    ~RendererProbe();
    RendererProbe(const RendererProbe &) = delete;
    RendererProbe &operator=(const RendererProbe &) = delete;

    // The string, waiting at most timeoutMs for it: empty when the program
    // found no OpenGL; nothing when it could not be started, crashed or took
    // too long (then the caller asks OpenGL itself).
    std::optional<QString> answer(int timeoutMs);

    // The probe program beside this one.
    static QString besideThisProgram();

private:
    void stop();

    pid_t m_pid = -1;
    int m_out = -1;
};
