#pragma once

#include "clipboard.h"

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
    // The copied text, trimmed at both ends.
    QString text;
    // One line for display, cut at 52 characters with "…".
    QString preview;

    static ClipboardItem make(const QString &text);
    static QString makePreview(const QString &text);

    bool operator==(const ClipboardItem &) const = default;
};

// The five most recent distinct texts, newest first.
struct ClipboardHistory {
    Q_GADGET
    QML_VALUE_TYPE(clipboardHistory)
    Q_PROPERTY(QList<ClipboardItem> items MEMBER items)
public:
    static constexpr int Capacity = 5;
    QList<ClipboardItem> items;

    // Records text at the front; a text already there moves with its id.
    void add(const QString &text);

    bool operator==(const ClipboardHistory &) const = default;
};

// Watches the clipboard and keeps a history of copied text, leaving out
// anything that looks like a password, key or token.
class ClipboardStore {
public:
    explicit ClipboardStore(platform::IClipboard *clipboard);
    ~ClipboardStore();

    ClipboardHistory poll();
    static bool looksSecret(const QString &text);

    platform::IClipboard *clipboard() const { return m_clipboard; }
    int lastChangeCount = -1;
    ClipboardHistory history;

private:
    platform::IClipboard *m_clipboard;
};
