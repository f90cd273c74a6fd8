#include "platform/linux/qtclipboard.h"

#include "platform/linux/x11clipboardreader.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace platform {

QtClipboard::QtClipboard(QObject *parent)
    : QObject(parent)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return;
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        m_reader = std::make_unique<X11ClipboardReader>([this](quint64 serial, std::optional<QString> text) {
            // Back on the main thread; the reader ends before this object.
            QMetaObject::invokeMethod(
                this,
                [this, serial, text = std::move(text)] {
                    if (serial != m_serial)
                        return;
                    m_text = text;
                    ++m_changes;
                },
                Qt::QueuedConnection);
        });
        // What is there at start is read like any change.
        m_reader->request(++m_serial);
    }
    connect(clipboard, &QClipboard::dataChanged, this, &QtClipboard::clipboardChanged);
}

QtClipboard::~QtClipboard() = default;

void QtClipboard::clipboardChanged()
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (!m_reader) {
        ++m_changes;
        return;
    }
    ++m_serial;
    if (clipboard->ownsClipboard()) {
        // This program's own text, at hand without asking anyone.
        const QMimeData *data = clipboard->mimeData();
        m_text = data && data->hasText() ? std::optional<QString>(data->text()) : std::nullopt;
        ++m_changes;
        return;
    }
    m_reader->request(m_serial);
}

std::optional<QString> QtClipboard::text()
{
    if (m_reader)
        return m_text;
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
