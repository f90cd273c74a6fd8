#pragma once

#include "platform/statustray.h"

#include <QList>
#include <QRasterWindow>
#include <QRect>

namespace platform {

// The status icon's menu where the desktop does not draw it (an XEmbed tray,
// or a panel that asks the icon to open its menu): a small popup drawn with
// the desktop's palette and font, its lines with their shortcuts and check
// marks. It takes the pointer and the keys while open; a click outside or
// Escape closes it, a click on a line (or Return on the marked one) chooses
// that line.
class TrayMenuWindow final : public QRasterWindow {
    Q_OBJECT
public:
    TrayMenuWindow();

    // Opens the menu with its top left corner at, in screen coordinates,
    // turned up or to the left where it would leave the screen. Given the
    // place of the icon it belongs to, it opens beside the icon instead, on
    // the side away from the screen edge nearest to it (where the tray's
    // panel sits) and outside the panel's room.
    void popup(const QList<StatusMenuItem> &lines, const QPoint &at, const QRect &icon = {});
    // The lines shown; an open menu redraws.
    void setLines(const QList<StatusMenuItem> &lines);
    const QList<StatusMenuItem> &lines() const { return m_lines; }
    // Where line index is, in the window.
    QRect lineRect(int index) const;

signals:
    // The user chose the line at index (separators count); the menu has
    // closed.
    void chosen(int index);

protected:
    void paintEvent(QPaintEvent *event) override;
    void exposeEvent(QExposeEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool event(QEvent *event) override;

private:
    void layOut();
    int lineAt(const QPoint &pos) const;
    void mark(int index);
    void step(int by);
    void choose(int index);
    void dismiss();

    QList<StatusMenuItem> m_lines;
    QList<QRect> m_rects;
    int m_marked = -1;
    bool m_grabbed = false;
    bool m_wasActive = false;
    int m_textLeft = 0;
    int m_shortcutRight = 0;
};

} // namespace platform
