#include "platform/linux/traymenuwindow.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <QScreen>

namespace platform {

namespace {

// The menu's measures follow its font: a line is one and a half text
// heights tall, a separator half of one.
struct Measures {
    explicit Measures(const QFont &font) : text(font)
    {
        const int h = text.height();
        line = h + h / 2;
        separator = h / 2 + 1;
        frame = qMax(2, h / 4);
        checkColumn = h + h / 2;
        gap = 2 * h;
    }
    QFontMetrics text;
    int line, separator, frame, checkColumn, gap;
};

QString shortcutText(const StatusMenuItem &line)
{
    return line.shortcut.toString(QKeySequence::NativeText);
}

} // namespace

TrayMenuWindow::TrayMenuWindow()
{
    setFlags(Qt::Popup | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setObjectName(QStringLiteral("trayMenu"));
    setTitle(QStringLiteral("Pavlet menu"));
}

void TrayMenuWindow::popup(const QList<StatusMenuItem> &lines, const QPoint &at, const QRect &icon)
{
    m_marked = -1;
    setLines(lines);
    QScreen *screen = QGuiApplication::screenAt(icon.isEmpty() ? at : icon.center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->geometry() : QRect(at, size());
    QPoint corner = at;
    if (!icon.isEmpty() && screen) {
        // The panel's room is what the work area leaves out on that edge.
        const QRect work = screen->availableGeometry();
        const int toTop = icon.top() - area.top(), toBottom = area.bottom() - icon.bottom();
        const int toLeft = icon.left() - area.left(), toRight = area.right() - icon.right();
        const int nearest = qMin(qMin(toTop, toBottom), qMin(toLeft, toRight));
        corner = icon.topLeft();
        if (nearest == toBottom)
            corner.ry() = qMin(icon.top(), work.bottom() + 1) - height();
        else if (nearest == toTop)
            corner.ry() = qMax(icon.bottom() + 1, work.top());
        else if (nearest == toLeft)
            corner.rx() = qMax(icon.right() + 1, work.left());
        else
            corner.rx() = qMin(icon.left(), work.right() + 1) - width();
    } else {
        if (corner.x() + width() > area.right() + 1)
            corner.rx() = at.x() - width();
        if (corner.y() + height() > area.bottom() + 1)
            corner.ry() = at.y() - height();
    }
    corner.rx() = qBound(area.left(), corner.x(), qMax(area.left(), area.right() + 1 - width()));
    corner.ry() = qBound(area.top(), corner.y(), qMax(area.top(), area.bottom() + 1 - height()));
    if (screen)
        setScreen(screen);
    setPosition(corner);
    show();
    raise();
    requestActivate();
}

void TrayMenuWindow::setLines(const QList<StatusMenuItem> &lines)
{
    m_lines = lines;
    if (m_marked >= m_lines.size())
        m_marked = -1;
    layOut();
    update();
}

QRect TrayMenuWindow::lineRect(int index) const
{
    return m_rects.value(index);
}

void TrayMenuWindow::layOut()
{
    const Measures m(QGuiApplication::font());
    int textWidth = 0;
    int shortcutWidth = 0;
    for (const StatusMenuItem &line : std::as_const(m_lines)) {
        textWidth = qMax(textWidth, m.text.horizontalAdvance(line.text));
        shortcutWidth = qMax(shortcutWidth, m.text.horizontalAdvance(shortcutText(line)));
    }
    m_textLeft = m.frame + m.checkColumn;
    const int width = m_textLeft + textWidth + (shortcutWidth ? m.gap + shortcutWidth : 0) + m.checkColumn;
    m_shortcutRight = width - m.checkColumn;
    m_rects.clear();
    int y = m.frame;
    for (const StatusMenuItem &line : std::as_const(m_lines)) {
        const int height = line.separator ? m.separator : m.line;
        m_rects << QRect(m.frame, y, width - 2 * m.frame, height);
        y += height;
    }
    const QSize size(width, y + m.frame);
    setMinimumSize(size);
    setMaximumSize(size);
    resize(size);
}

void TrayMenuWindow::paintEvent(QPaintEvent *)
{
    const QPalette palette = QGuiApplication::palette();
    const Measures m(QGuiApplication::font());
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(QRect(QPoint(0, 0), size()), palette.color(QPalette::Window));
    p.setPen(palette.color(QPalette::Mid));
    p.drawRect(QRectF(0.5, 0.5, width() - 1.0, height() - 1.0));
    p.setFont(QGuiApplication::font());
    for (int i = 0; i < m_lines.size(); ++i) {
        const StatusMenuItem &line = m_lines.at(i);
        const QRect r = m_rects.value(i);
        if (line.separator) {
            p.setPen(palette.color(QPalette::Mid));
            const qreal middle = r.center().y() + 0.5;
            p.drawLine(QPointF(r.left() + m.frame, middle), QPointF(r.right() - m.frame, middle));
            continue;
        }
        const bool marked = i == m_marked;
        if (marked)
            p.fillRect(r, palette.color(QPalette::Highlight));
        const QColor ink = palette.color(marked ? QPalette::HighlightedText : QPalette::WindowText);
        if (line.checkable && line.checked) {
            // A tick in the column before the text.
            const qreal side = m.text.height() * 0.6;
            const QRectF box(r.left() + (m.checkColumn - side) / 2, r.center().y() - side / 2 + 0.5, side, side);
            QPainterPath tick;
            tick.moveTo(box.left(), box.top() + side * 0.55);
            tick.lineTo(box.left() + side * 0.38, box.bottom() - side * 0.1);
            tick.lineTo(box.right(), box.top() + side * 0.1);
            p.setPen(QPen(ink, qMax(1.5, side / 7), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.drawPath(tick);
        }
        p.setPen(ink);
        p.drawText(QRect(m_textLeft, r.top(), r.width(), r.height()), Qt::AlignLeft | Qt::AlignVCenter, line.text);
        if (!line.shortcut.isEmpty()) {
            p.setPen(marked ? ink : palette.color(QPalette::PlaceholderText));
            p.drawText(QRect(r.left(), r.top(), m_shortcutRight - r.left(), r.height()), Qt::AlignRight | Qt::AlignVCenter,
                       shortcutText(line));
        }
    }
}

void TrayMenuWindow::exposeEvent(QExposeEvent *event)
{
    QRasterWindow::exposeEvent(event);
    if (!isExposed() || m_grabbed)
        return;
    // Clicks anywhere come here while the menu is open, so that one outside
    // closes it; where another program holds the pointer, losing the focus
    // closes it instead.
    m_grabbed = setMouseGrabEnabled(true);
    setKeyboardGrabEnabled(true);
}

int TrayMenuWindow::lineAt(const QPoint &pos) const
{
    for (int i = 0; i < m_rects.size(); ++i) {
        if (m_rects.at(i).contains(pos) && !m_lines.at(i).separator)
            return i;
    }
    return -1;
}

void TrayMenuWindow::mark(int index)
{
    if (index == m_marked)
        return;
    m_marked = index;
    update();
}

void TrayMenuWindow::step(int by)
{
    if (m_lines.isEmpty())
        return;
    int index = m_marked < 0 ? (by > 0 ? -1 : int(m_lines.size())) : m_marked;
    for (int tries = 0; tries < m_lines.size(); ++tries) {
        index = (index + by + int(m_lines.size())) % int(m_lines.size());
        if (!m_lines.at(index).separator) {
            mark(index);
            return;
        }
    }
}

void TrayMenuWindow::mouseMoveEvent(QMouseEvent *event)
{
    mark(lineAt(event->position().toPoint()));
}

void TrayMenuWindow::mousePressEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    if (!QRect(QPoint(0, 0), size()).contains(pos))
        dismiss();
    else
        mark(lineAt(pos));
}

void TrayMenuWindow::mouseReleaseEvent(QMouseEvent *event)
{
    const int index = lineAt(event->position().toPoint());
    if (index >= 0)
        choose(index);
}

void TrayMenuWindow::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        dismiss();
        break;
    case Qt::Key_Up:
        step(-1);
        break;
    case Qt::Key_Down:
        step(1);
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (m_marked >= 0)
            choose(m_marked);
        break;
    default:
        break;
    }
}

bool TrayMenuWindow::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate)
        m_wasActive = true;
    else if (event->type() == QEvent::WindowDeactivate && m_wasActive && !m_grabbed && isVisible())
        dismiss();
    return QRasterWindow::event(event);
}

void TrayMenuWindow::choose(int index)
{
    dismiss();
    emit chosen(index);
}

void TrayMenuWindow::dismiss()
{
    if (m_grabbed)
        setMouseGrabEnabled(false);
    setKeyboardGrabEnabled(false);
    m_grabbed = false;
    m_wasActive = false;
    m_marked = -1;
    hide();
}

} // namespace platform
