#pragma once

#include "platform/filepicker.h"

#include <QFileDialog>
#include <QPointer>
#include <functional>

class QWindow;

namespace platform {

// Qt's own file dialog, set up so that files and folders can be chosen
// together. The dialog is a transient of the window given by `above` and
// kept over it, so it never opens under an always-on-top window.
class QtFilePicker final : public IFilePicker {
public:
    using WindowSource = std::function<QWindow *()>;
    explicit QtFilePicker(WindowSource above = {}) : m_above(std::move(above)) {}
    ~QtFilePicker() override;

    void setAbove(WindowSource above) { m_above = std::move(above); }
    void pickFilesAndFolders(const QString &confirmLabel, Answer done) override;
    // The dialog while it is open (tests).
    QFileDialog *dialog() const { return m_dialog; }

private:
    WindowSource m_above;
    QPointer<QFileDialog> m_dialog;
};

} // namespace platform
