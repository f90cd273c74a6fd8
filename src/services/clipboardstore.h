#pragma once

#include "core/recordlistmodel.h"
#include "platform/clipboard.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QUuid>
#include <QtQml/qqmlregistration.h>
#include <memory>

struct ClipboardItem {
    Q_GADGET
    QML_VALUE_TYPE(clipboardItem)
    Q_PROPERTY(QUuid id MEMBER id)
    Q_PROPERTY(QString text MEMBER text)
    Q_PROPERTY(QString preview MEMBER preview)
public:
    QUuid id;
    // The copied text, exactly as copied.
    QString text;
    // One line for display, trimmed at both ends and cut at 52 characters
    // with "…".
    QString preview;

    // How much of a text's start the preview looks at.
    static constexpr qsizetype PreviewScan = 2048;

    static ClipboardItem make(const QString &text);
    static QString makePreview(const QString &text);

    enum Role { IdRole = Qt::UserRole, TextRole, PreviewRole };
    static QHash<int, QByteArray> roles();
    QVariant roleValue(int role) const;
    bool operator==(const ClipboardItem &) const = default;
};

using ClipboardItemsModel = RecordListModel<ClipboardItem>;

// The five most recent distinct texts, newest first.
struct ClipboardHistory {
    Q_GADGET
    QML_VALUE_TYPE(clipboardHistory)
    Q_PROPERTY(QList<ClipboardItem> items MEMBER items)
    Q_PROPERTY(bool newestTooLarge MEMBER newestTooLarge)
public:
    static constexpr int Capacity = 5;
    QList<ClipboardItem> items;
    // The clipboard holds a text too long to keep.
    bool newestTooLarge = false;

    // Records text at the front; a text already there moves with its id.
    void add(const QString &text);

    bool operator==(const ClipboardHistory &) const = default;
};

// Watches the clipboard and keeps a history of copied text, leaving out
// anything that looks like a password, key or token. The history is
// published as a list model whose rows keep their ids.
class ClipboardStore : public QObject {
    Q_OBJECT
    Q_PROPERTY(RecordListModelBase *items READ itemsModel CONSTANT)
public:
    explicit ClipboardStore(platform::IClipboard *clipboard, QObject *parent = nullptr);
    ~ClipboardStore() override;

    // Reads the clipboard when it changed and publishes the history.
    ClipboardHistory poll();
    // Puts text back on the clipboard and at the top of the history; the
    // next poll does not take it for a new copy.
    ClipboardHistory copyBack(const QString &text);
    // Whether the text looks like a password, key or token. A trimmed text
    // longer than MaxSecretLength is none (a token travels in a request
    // header, which servers cap at 8 KB): only its start is read.
    // The island put text on the clipboard that the history is not to
    // keep; the next poll does not take it for a new copy.
    ClipboardHistory skipOwnCopy();
    static bool looksSecret(const QString &text);
    static constexpr qsizetype MaxSecretLength = 8192;

    platform::IClipboard *clipboard() const { return m_clipboard; }
    const ClipboardHistory &history() const { return m_history; }
    ClipboardItemsModel *itemsModel() const { return m_items; }
    // The clipboard's change count at the last read; the island sets it
    // after putting text back, so that text is not recorded again.
    int lastChangeCount = -1;

private:
    platform::IClipboard *m_clipboard;
    ClipboardHistory m_history;
    ClipboardItemsModel *m_items;
};
