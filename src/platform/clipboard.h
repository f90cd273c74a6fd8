#pragma once

#include <QImage>
#include <QList>
#include <QString>
#include <QUrl>
#include <memory>
#include <optional>

namespace platform {

class IClipboard {
public:
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
    // The image on the clipboard; a null image when it holds none.
    virtual QImage readImage() = 0;
};

} // namespace platform
