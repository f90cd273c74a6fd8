#pragma once

#include "platform/clipboard.h"
#include "platform/linux/x11clipboardreader.h"
#include "platform/linux/x11connection.h"

#include <QAbstractNativeEventFilter>
#include <QObject>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

class QClipboard;

namespace platform {

// The system clipboard through QClipboard. Qt has no change count, so one is
// kept here: it goes up on every dataChanged.
//
// On X11 another program's clipboard is not read through QClipboard, which
// waits for the owner on the main thread and takes any length: an
// X11ClipboardReader reads its text, file addresses and image off the main
// thread after each change, within its size limit, and text(), fileUrls()
// and imagePng() give what was last read. There the change counts once its
// read is in; what setText() and setImage() put there counts at once.
//
// There QClipboard's dataChanged is held back too: on it every Qt Quick text
// field asks the clipboard whether it holds text, on the main thread, and
// waits for an owner that does not answer. The changes are taken from the X
// server's own notices instead.
class QtClipboard final : public QObject, public IClipboard, private QAbstractNativeEventFilter {
    Q_OBJECT
public:
    explicit QtClipboard(QObject *parent = nullptr);
    ~QtClipboard() override;

    int changeCount() override { return m_changes; }
    std::optional<QString> text() override;
    void setText(const QString &text) override;
    void setImage(const QImage &image) override;
    QList<QUrl> fileUrls() override;
    QByteArray imagePng() override;
    QImage readImage() override;
    ReadState readState() override;
    bool textTooLarge() override { return m_reader && m_content.textTooLong; }
    bool imageTooLarge() override { return m_reader && m_content.imageTooLong; }
    void whenRead(std::function<void()> then) override;
    void readSelection(std::function<void(const Selection &)> then) override;

private:
    void clipboardChanged();
    void contentRead(X11ClipboardReader::Content content, const QImage &ownImage = QImage());
    void setOwn(X11ClipboardReader::Content content, const QImage &image, const std::function<void(QClipboard *)> &set);
    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

    int m_changes = 0;
    std::unique_ptr<X11ClipboardReader> m_reader;
    quint64 m_serial = 0;
    bool m_reading = false;
    X11ClipboardReader::Content m_content;
    QImage m_ownImage;
    std::vector<std::function<void()>> m_waiting;
    // The primary selection's reader, made by the first read of it, and
    // who waits for the read under way.
    std::unique_ptr<X11ClipboardReader> m_selectionReader;
    quint64 m_selectionSerial = 0;
    std::vector<std::function<void(const Selection &)>> m_selectionWaiting;
    // What setText() or setImage() is putting on the clipboard.
    std::optional<std::pair<X11ClipboardReader::Content, QImage>> m_settingOwn;
    // Qt's connection, when the X server tells it of clipboard changes.
    std::unique_ptr<X11Connection> m_qt;
    uint8_t m_ownerNotice = 0;
    xcb_atom_t m_clipboardAtom = XCB_ATOM_NONE;
    // Qt's window that holds what this program copies, and how many notices
    // of setText() and setImage() taking the clipboard are still to come.
    xcb_window_t m_qtOwner = XCB_WINDOW_NONE;
    int m_ownNotices = 0;
};

} // namespace platform
