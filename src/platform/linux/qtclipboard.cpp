#include "platform/linux/qtclipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace platform {

QtClipboard::QtClipboard(QObject *parent)
    : QObject(parent)
{
    if (QClipboard *clipboard = QGuiApplication::clipboard())
        connect(clipboard, &QClipboard::dataChanged, this, [this] { ++m_changes; });
}

std::optional<QString> QtClipboard::text()
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    const QMimeData *data = clipboard ? clipboard->mimeData() : nullptr;
    if (!data || !data->hasText())
        return std::nullopt;
    return data->text();
}

void QtClipboard::setText(const QString &text)
{
    if (QClipboard *clipboard = QGuiApplication::clipboard())
        clipboard->setText(text);
}

void QtClipboard::setImage(const QImage &image)
{
    if (QClipboard *clipboard = QGuiApplication::clipboard())
        clipboard->setImage(image);
}

QList<QUrl> QtClipboard::fileUrls()
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    const QMimeData *data = clipboard ? clipboard->mimeData() : nullptr;
    QList<QUrl> urls;
    if (data && data->hasUrls()) {
        for (const QUrl &url : data->urls()) {
            if (url.isLocalFile())
                urls.append(url);
        }
    }
    return urls;
}

QImage QtClipboard::readImage()
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    return clipboard ? clipboard->image() : QImage();
}

} // namespace platform
