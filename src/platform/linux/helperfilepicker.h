#pragma once

#include "platform/filepicker.h"

#include <QObject>
#include <QPointer>
#include <QProcess>
#include <functional>
#include <optional>

class QWindow;

namespace platform {

// Qt's own file dialog, set up so that files and folders can be chosen
// together, shown by the helper program pavlet-pick: Qt's widgets load in
// that process and go with it. The dialog is a transient of the window
// given by `above` and kept over it, so it never opens under an
// always-on-top window.
class HelperFilePicker final : public QObject, public IFilePicker {
    Q_OBJECT
public:
    using WindowSource = std::function<QWindow *()>;
    explicit HelperFilePicker(WindowSource above = {}, QString program = helperProgram(), QObject *parent = nullptr);
    ~HelperFilePicker() override;

    void setAbove(WindowSource above) { m_above = std::move(above); }
    void pickFilesAndFolders(const QString &confirmLabel, Answer done) override;
    // Whether a dialog is up.
    bool isOpen() const { return m_helper != nullptr; }
    // The process showing the dialog, while one is up (tests).
    qint64 helperPid() const { return m_helper ? m_helper->processId() : 0; }

    // Where the build put the helper, else the one beside this program.
    static QString helperProgram();
    // The picked entries in the helper's output; none when it cancelled or
    // said something else.
    static std::optional<QList<QUrl>> readAnswer(const QByteArray &output);

private:
    void finish(const std::optional<QList<QUrl>> &picked);

    WindowSource m_above;
    QString m_program;
    QProcess *m_helper = nullptr;
    Answer m_done;
};

} // namespace platform
