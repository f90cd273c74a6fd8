#include "platform/linux/qtclipboard.h"

#include "platform/linux/x11clipboardreader.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <utility>

namespace platform {

QtClipboard::QtClipboard(QObject *parent)
    : QObject(parent)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return;
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        m_reader = std::make_unique<X11ClipboardReader>([this](quint64 serial, X11ClipboardReader::Content content) {
            // Back on the main thread; the reader ends before this object.
            QMetaObject::invokeMethod(
                this,
                [this, serial, content = std::move(content)]() mutable {
                    if (serial == m_serial)
                        contentRead(std::move(content));
                },
                Qt::QueuedConnection);
        });
        // What is there at start is read like any change.
        m_reading = true;
        m_reader->request(++m_serial);
    }
    connect(clipboard, &QClipboard::dataChanged, this, &QtClipboard::clipboardChanged);
}

QtClipboard::~QtClipboard() = default;

void QtClipboard::clipboardChanged()
{
    if (!m_reader) {
        ++m_changes;
        return;
    }
    ++m_serial;
    if (m_settingOwn) {
        // What this object is putting there, at hand without asking anyone.
        contentRead(m_settingOwn->first, m_settingOwn->second);
        return;
    }
    // Anything else, also what Qt itself copied for this program, is read
    // like another program's: asking the clipboard here would wait for
    // whoever owns it by the time the question arrives.
    m_reading = true;
    m_reader->request(m_serial);
}

void QtClipboard::contentRead(X11ClipboardReader::Content content, const QImage &ownImage)
{
    m_content = std::move(content);
    m_ownImage = ownImage;
    m_reading = false;
    ++m_changes;
    // A callback may ask for the next wait.
    for (auto &then : std::exchange(m_waiting, {}))
        then();
}

IClipboard::ReadState QtClipboard::readState()
{
    if (!m_reader)
        return ReadState::ready;
    return m_reading ? ReadState::reading : m_content.failed ? ReadState::failed : ReadState::ready;
}

void QtClipboard::whenRead(std::function<void()> then)
{
    if (m_reader && m_reading)
        m_waiting.push_back(std::move(then));
    else
        then();
}

std::optional<QString> QtClipboard::text()
{
    if (m_reader)
        return m_content.text;
    QClipboard *clipboard = QGuiApplication::clipboard();
    const QMimeData *data = clipboard ? clipboard->mimeData() : nullptr;
    if (!data || !data->hasText())
        return std::nullopt;
    return data->text();
}

void QtClipboard::setText(const QString &text)
{
    X11ClipboardReader::Content content;
    content.text = text;
    setOwn(std::move(content), QImage(), [&](QClipboard *clipboard) { clipboard->setText(text); });
}

void QtClipboard::setImage(const QImage &image)
{
    setOwn({}, image, [&](QClipboard *clipboard) { clipboard->setImage(image); });
}

void QtClipboard::setOwn(X11ClipboardReader::Content content, const QImage &image,
                         const std::function<void(QClipboard *)> &set)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return;
    // The clipboard tells of the change before set returns.
    m_settingOwn.emplace(std::move(content), image);
    set(clipboard);
    m_settingOwn.reset();
}

QList<QUrl> QtClipboard::fileUrls()
{
    QList<QUrl> urls;
    if (m_reader) {
        // One address a line; lines starting with "#" are comments.
        for (const QByteArray &line : m_content.uriList.split('\n')) {
            const QByteArray address = line.trimmed();
            if (address.isEmpty() || address.startsWith('#'))
                continue;
            const QUrl url = QUrl::fromEncoded(address);
            if (url.isLocalFile())
                urls.append(url);
        }
        return urls;
    }
    QClipboard *clipboard = QGuiApplication::clipboard();
    const QMimeData *data = clipboard ? clipboard->mimeData() : nullptr;
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
    if (m_reader && !m_ownImage.isNull())
        return m_ownImage;
    if (m_reader)
        return m_content.png.isEmpty() ? QImage() : QImage::fromData(m_content.png, "PNG");
    QClipboard *clipboard = QGuiApplication::clipboard();
    return clipboard ? clipboard->image() : QImage();
}

} // namespace platform
