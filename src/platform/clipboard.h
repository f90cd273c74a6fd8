#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>
#include <QUrl>
#include <functional>
#include <memory>
#include <optional>

namespace platform {

class IClipboard {
public:
    // The most text a paste puts into a field: a field is laid out whole on
    // every change, and a longer text would hold the island up.
    static constexpr int PasteLimit = 32767;

    virtual ~IClipboard() = default;
    // Goes up by at least one whenever the clipboard's content changes, from
    // this program or another.
    virtual int changeCount() = 0;
    // The plain text on the clipboard, if it holds any.
    virtual std::optional<QString> text() = 0;
    virtual void setText(const QString &text) = 0;
    virtual void setImage(const QImage &image) = 0;
    // The local file addresses on the clipboard; empty when it holds none.
    virtual QList<QUrl> fileUrls() = 0;
    // The image on the clipboard as PNG data, as another program gave it,
    // to be decoded away from the main thread; empty when it holds none or
    // the image is at hand only as readImage().
    virtual QByteArray imagePng() { return {}; }
    // The image on the clipboard, when it is at hand already decoded (what
    // this program put there); a null image when there is none.
    virtual QImage readImage() = 0;

    // Whether text(), fileUrls() and readImage() give the clipboard's
    // latest content, it is still being read from its owner, or the owner
    // did not give it.
    enum class ReadState { ready, reading, failed };
    virtual ReadState readState() { return ReadState::ready; }
    // The clipboard holds a text longer than text() gives.
    virtual bool textTooLarge() { return false; }
    // The clipboard holds an image larger than imagePng() gives.
    virtual bool imageTooLarge() { return false; }
    // Runs then once no read is under way (at once when none is).
    virtual void whenRead(std::function<void()> then) { then(); }

    // The text selected in any program (what the middle button pastes),
    // read as the clipboard's is: its owner is never waited for.
    struct Selection {
        std::optional<QString> text;
        // It holds a text longer than is read.
        bool tooLarge = false;
        // Its owner did not give it.
        bool failed = false;
    };
    // Reads the selection and runs then with it.
    virtual void readSelection(std::function<void(const Selection &)> then) { then({}); }
};

} // namespace platform
