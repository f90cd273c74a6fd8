#pragma once

#include <QByteArray>
#include <QString>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

namespace platform {

// Reads the X clipboard (the CLIPBOARD selection, or another selection such
// as PRIMARY) on a thread and an X connection of its own, so that a slow, huge or vanishing owner never holds
// up the caller. It asks the owner for its targets first, then for the file
// addresses, the PNG image and the text (UTF-8, else Latin-1) it offers. A
// value longer than MaxBytes is not kept: an incremental transfer of one is
// read to its end and thrown away piece by piece, so that the owner is not
// left waiting. A transfer whose owner goes away, or that stalls, is dropped
// and the read counts as failed.
class X11ClipboardReader {
public:
    // What one read found.
    struct Content {
        std::optional<QString> text;
        // The owner offered text longer than MaxBytes.
        bool textTooLong = false;
        // The owner's text/uri-list, as sent.
        QByteArray uriList;
        QByteArray png;
        // The owner offered a PNG image longer than MaxBytes.
        bool imageTooLong = false;
        // The owner did not answer in time or went away mid-transfer.
        bool failed = false;
    };

    // What the history can show and the pocket can hold, with room to spare.
    static constexpr qsizetype MaxBytes = 8 * 1024 * 1024;
    // How long one step (an answer, the next piece) may take, and a whole
    // transfer.
    static constexpr int StepMs = 3000;
    static constexpr int TransferMs = 30000;

    // done runs on the reader's thread with the serial of the request it
    // answers and what was read. A request overtaken by a newer one gets no
    // answer.
    using Done = std::function<void(quint64 serial, Content content)>;
    // Which selection is read, and whether only its text is wanted.
    struct Source {
        QByteArray selection = "CLIPBOARD";
        bool textOnly = false;
    };
    explicit X11ClipboardReader(Done done);
    X11ClipboardReader(Done done, Source source);
    ~X11ClipboardReader();
    X11ClipboardReader(const X11ClipboardReader &) = delete;
    X11ClipboardReader &operator=(const X11ClipboardReader &) = delete;

    // Asks for the clipboard's content; a read under way for an older serial
    // is given up.
    void request(quint64 serial);

private:
    void run();

    Done m_done;
    const Source m_source;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    quint64 m_wanted = 0;
    bool m_stop = false;
    std::thread m_thread;
};

} // namespace platform
