#include "platform/linux/qtclipboard.h"

#include "platform/linux/x11clipboardreader.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <utility>
#include <xcb/xfixes.h>

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
        m_qt = std::make_unique<X11Connection>();
        xcb_connection_t *conn = m_qt->isShared() ? m_qt->get() : nullptr;
        const char *name = "CLIPBOARD";
        const auto xfixes = conn ? owned(xcb_query_extension_reply(conn, xcb_query_extension(conn, 6, "XFIXES"), nullptr))
                                 : owned<xcb_query_extension_reply_t>(nullptr);
        const auto atom = xfixes && xfixes->present
            ? owned(xcb_intern_atom_reply(conn, xcb_intern_atom(conn, 0, uint16_t(qstrlen(name)), name), nullptr))
            : owned<xcb_intern_atom_reply_t>(nullptr);
        if (atom) {
            m_ownerNotice = uint8_t(xfixes->first_event + XCB_XFIXES_SELECTION_NOTIFY);
            m_clipboardAtom = atom->atom;
            clipboard->blockSignals(true);
            QCoreApplication::instance()->installNativeEventFilter(this);
            return;
        }
    }
    connect(clipboard, &QClipboard::dataChanged, this, &QtClipboard::clipboardChanged);
}

QtClipboard::~QtClipboard()
{
    if (!m_ownerNotice)
        return;
    QCoreApplication::instance()->removeNativeEventFilter(this);
    if (QClipboard *clipboard = QGuiApplication::clipboard())
        clipboard->blockSignals(false);
}

bool QtClipboard::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    if (eventType != "xcb_generic_event_t" || (event->response_type & 0x7f) != m_ownerNotice)
        return false;
    const auto *notice = static_cast<const xcb_xfixes_selection_notify_event_t *>(message);
    if (notice->selection != m_clipboardAtom)
        return false;
    if (notice->owner != XCB_WINDOW_NONE && notice->owner == m_qtOwner && m_ownNotices > 0)
        --m_ownNotices; // counted already
    else
        clipboardChanged();
    // Qt keeps its own account of the clipboard.
    return false;
}

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

void QtClipboard::readSelection(std::function<void(const Selection &)> then)
{
    if (!m_reader) {
        QClipboard *clipboard = QGuiApplication::clipboard();
        Selection selection;
        if (clipboard && clipboard->supportsSelection()) {
            const QMimeData *data = clipboard->mimeData(QClipboard::Selection);
            if (data && data->hasText())
                selection.text = data->text();
        }
        then(selection);
        return;
    }
    m_selectionWaiting.push_back(std::move(then));
    // Whoever comes while a read is under way takes what it reads.
    if (m_selectionWaiting.size() > 1)
        return;
    if (!m_selectionReader) {
        m_selectionReader = std::make_unique<X11ClipboardReader>(
            [this](quint64 serial, X11ClipboardReader::Content content) {
                QMetaObject::invokeMethod(
                    this,
                    [this, serial, content = std::move(content)] {
                        if (serial != m_selectionSerial)
                            return;
                        const Selection selection{content.text, content.textTooLong, content.failed};
                        for (auto &waiting : std::exchange(m_selectionWaiting, {}))
                            waiting(selection);
                    },
                    Qt::QueuedConnection);
            },
            X11ClipboardReader::Source{"PRIMARY", true});
    }
    m_selectionReader->request(++m_selectionSerial);
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
    // The clipboard tells of the change before set returns, unless its
    // signals are held back; then the X server's notice comes later.
    m_settingOwn.emplace(std::move(content), image);
    set(clipboard);
    if (m_ownerNotice && m_settingOwn) {
        if (clipboard->ownsClipboard()) {
            const auto owner = owned(xcb_get_selection_owner_reply(
                m_qt->get(), xcb_get_selection_owner(m_qt->get(), m_clipboardAtom), nullptr));
            m_qtOwner = owner ? owner->owner : xcb_window_t(XCB_WINDOW_NONE);
            ++m_ownNotices;
        }
        clipboardChanged();
    }
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

QByteArray QtClipboard::imagePng()
{
    return m_reader && m_ownImage.isNull() ? m_content.png : QByteArray();
}

QImage QtClipboard::readImage()
{
    // Another program's image is decoded by whoever takes imagePng().
    if (m_reader)
        return m_ownImage;
    QClipboard *clipboard = QGuiApplication::clipboard();
    return clipboard ? clipboard->image() : QImage();
}

} // namespace platform
