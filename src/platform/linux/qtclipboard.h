#pragma once

#include "platform/clipboard.h"

#include <QObject>
#include <memory>

namespace platform {

class X11ClipboardReader;

// The system clipboard through QClipboard. Qt has no change count, so one is
// kept here: it goes up on every dataChanged.
//
// On X11 the text of another program's clipboard is not read through
// QClipboard, which waits for the owner on the main thread and takes any
// length: an X11ClipboardReader reads it off the main thread after each
// change, within its size limit, and text() gives the text last read. There
// the change counts once its read is in.
class QtClipboard final : public QObject, public IClipboard {
    Q_OBJECT
public:
    explicit QtClipboard(QObject *parent = nullptr);
    ~QtClipboard() override;

    int changeCount() override { return m_changes; }
    std::optional<QString> text() override;
    void setText(const QString &text) override;
    void setImage(const QImage &image) override;
    QList<QUrl> fileUrls() override;
    QImage readImage() override;

private:
    void clipboardChanged();

    int m_changes = 0;
    std::unique_ptr<X11ClipboardReader> m_reader;
    quint64 m_serial = 0;
    std::optional<QString> m_text;
};

} // namespace platform
