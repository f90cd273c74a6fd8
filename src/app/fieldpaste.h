#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <memory>
#include <optional>

class QQmlComponent;
class QQuickItem;
namespace platform { class IClipboard; }

// Pastes into the text fields of every window of the program through the
// clipboard's own reader, which never waits for the owner on the main
// thread: Qt's fields ask the owner themselves, and wait however long it
// takes and take however much it gives.
//
// Installed on the application, it takes over the paste keys (Ctrl+V,
// Shift+Insert) and the middle button's paste of the selection in any
// editable TextInput or TextEdit (and the controls built on them), and puts
// the text in at the cursor once it has been read. A paste that cannot be
// read, or that is more than the field can take, puts nothing in and says so
// beside the field.
class FieldPaste : public QObject {
    Q_OBJECT
public:
    // How long the word beside the field stays.
    static constexpr int NoticeMs = 4000;

    explicit FieldPaste(platform::IClipboard *clipboard, QObject *parent = nullptr);
    ~FieldPaste() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // How many more characters the field takes in place of its selection.
    static int room(const QQuickItem *field);
    void pasteClipboard(QQuickItem *field);
    void pasteSelection(QQuickItem *field);
    void put(QQuickItem *field, const std::optional<QString> &text, bool tooLarge, bool failed);
    void say(QQuickItem *field, const QString &text);

    platform::IClipboard *m_clipboard;
    std::unique_ptr<QQmlComponent> m_notice;
};
