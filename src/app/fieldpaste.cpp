#include "app/fieldpaste.h"

#include "platform/clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>

namespace {

const QUrl NoticeUrl(QStringLiteral("qrc:/qt/qml/Pavlet/src/look/FieldNotice.qml"));

// An editable text field: a TextInput or TextEdit, or a control built on one.
QQuickItem *editableField(QObject *object)
{
    auto *item = qobject_cast<QQuickItem *>(object);
    if (!item || !(item->inherits("QQuickTextInput") || item->inherits("QQuickTextEdit")))
        return nullptr;
    return item->isEnabled() && !item->property("readOnly").toBool() ? item : nullptr;
}

bool isMiddle(QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        return static_cast<QMouseEvent *>(event)->button() == Qt::MiddleButton;
    default:
        return false;
    }
}

} // namespace

FieldPaste::FieldPaste(platform::IClipboard *clipboard, QObject *parent)
    : QObject(parent)
    , m_clipboard(clipboard)
{
}

FieldPaste::~FieldPaste() = default;

int FieldPaste::room(const QQuickItem *field)
{
    // A single-line field may set a length of its own.
    constexpr int most = platform::IClipboard::PasteLimit;
    const QVariant own = field->property("maximumLength");
    const int limit = own.isValid() ? std::min(own.toInt(), most) : most;
    const int selected = field->property("selectionEnd").toInt() - field->property("selectionStart").toInt();
    return limit - (field->property("length").toInt() - selected);
}

bool FieldPaste::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->matches(QKeySequence::Paste)) {
        if (QQuickItem *field = editableField(watched)) {
            pasteClipboard(field);
            return true;
        }
        return false;
    }
    if (!isMiddle(event))
        return false;
    QQuickItem *field = editableField(watched);
    const QClipboard *clipboard = QGuiApplication::clipboard();
    if (!field || !clipboard || !clipboard->supportsSelection())
        return false;
    if (event->type() == QEvent::MouseButtonPress) {
        // The text goes where the button went down, as the field's own
        // paste would put it.
        field->forceActiveFocus(Qt::MouseFocusReason);
        const QPointF point = static_cast<QMouseEvent *>(event)->position();
        const QMetaObject *type = field->metaObject();
        // A TextEdit answers where a point is; a TextInput, asked as an
        // input method asks it.
        const int edit = type->indexOfMethod("positionAt(double,double)");
        const int query = type->indexOfMethod("inputMethodQuery(Qt::InputMethodQuery,QVariant)");
        int position = -1;
        QVariant at;
        if (edit >= 0) {
            type->method(edit).invoke(field, Q_RETURN_ARG(int, position), Q_ARG(double, point.x()),
                                      Q_ARG(double, point.y()));
        } else if (query >= 0
                   && type->method(query).invoke(field, Q_RETURN_ARG(QVariant, at),
                                                 Q_ARG(Qt::InputMethodQuery, Qt::ImCursorPosition),
                                                 Q_ARG(QVariant, QVariant(point)))
                   && at.isValid()) {
            position = at.toInt();
        }
        if (position >= 0)
            field->setProperty("cursorPosition", position);
        pasteSelection(field);
    }
    // The release is where the field itself would paste.
    event->accept();
    return true;
}

void FieldPaste::pasteClipboard(QQuickItem *field)
{
    using State = platform::IClipboard::ReadState;
    if (!m_clipboard)
        return;
    m_clipboard->whenRead([this, field = QPointer<QQuickItem>(field)] {
        if (!field)
            return;
        // A new copy may have come meanwhile: then its read is waited for.
        if (m_clipboard->readState() == State::reading) {
            pasteClipboard(field);
            return;
        }
        put(field, m_clipboard->text(), m_clipboard->textTooLarge(), m_clipboard->readState() == State::failed);
    });
}

void FieldPaste::pasteSelection(QQuickItem *field)
{
    if (!m_clipboard)
        return;
    m_clipboard->readSelection([this, field = QPointer<QQuickItem>(field)](const platform::IClipboard::Selection &read) {
        if (field)
            put(field, read.text, read.tooLarge, read.failed);
    });
}

void FieldPaste::put(QQuickItem *field, const std::optional<QString> &text, bool tooLarge, bool failed)
{
    // The field may have been closed or locked meanwhile.
    if (!editableField(field))
        return;
    if (failed) {
        say(field, QStringLiteral("Couldn't read the clipboard"));
        return;
    }
    if (tooLarge || (text && text->size() > room(field))) {
        say(field, QStringLiteral("Clipboard text is too large"));
        return;
    }
    if (!text || text->isEmpty())
        return;
    // In place of the selection, at the cursor as it is now.
    const int start = field->property("selectionStart").toInt();
    const int end = field->property("selectionEnd").toInt();
    if (end > start)
        QMetaObject::invokeMethod(field, "remove", Q_ARG(int, start), Q_ARG(int, end));
    const int at = field->property("cursorPosition").toInt();
    const int before = field->property("length").toInt();
    QMetaObject::invokeMethod(field, "insert", Q_ARG(int, at), Q_ARG(QString, *text));
    // What the field took (a validator may refuse it all).
    field->setProperty("cursorPosition", at + (field->property("length").toInt() - before));
}

void FieldPaste::say(QQuickItem *field, const QString &text)
{
    QObject *notice = field->findChild<QObject *>(QStringLiteral("pasteNotice"), Qt::FindDirectChildrenOnly);
    if (!notice) {
        QQmlEngine *engine = qmlEngine(field);
        if (!engine)
            return;
        if (!m_notice || m_notice->engine() != engine)
            m_notice = std::make_unique<QQmlComponent>(engine, NoticeUrl);
        notice = m_notice->createWithInitialProperties({{QStringLiteral("field"), QVariant::fromValue(field)}},
                                                       qmlContext(field));
        if (!notice)
            return;
        QQmlEngine::setObjectOwnership(notice, QQmlEngine::CppOwnership);
        notice->setObjectName(QStringLiteral("pasteNotice"));
        notice->setParent(field);
    }
    notice->setProperty("text", text);
    notice->setProperty("timeout", NoticeMs);
    QMetaObject::invokeMethod(notice, "open");
}
