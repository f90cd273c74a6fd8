// pavlet-pick: the file dialog of the zip card, in a process of its own, so
// that the island itself never loads Qt's widgets.
//
//   pavlet-pick LABEL [WINDOW [X,Y,WIDTH,HEIGHT]]
//
// Shows the dialog that chooses files and folders to zip, its confirm
// button saying LABEL, kept over the X window WINDOW when given; with that
// window's frame it opens under it, inside the screen's work area, also
// where no window manager places it. Prints "shown" once it is up,
// then "picked" and one encoded URL a line, or "cancelled". A line "raise"
// on standard input brings the dialog forward; the end of standard input
// (the island is gone) cancels it.

#include "platform/linux/filesandfoldersdialog.h"

#include <QApplication>
#include <QScreen>
#include <QSocketNotifier>
#include <QWindow>

#include <algorithm>

#include <cstdio>
#include <unistd.h>

namespace {

void say(const QByteArray &line)
{
    std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

// The frame "X,Y,WIDTH,HEIGHT"; an invalid one when it is not that.
QRect frameFrom(const QString &text)
{
    const QStringList parts = text.split(u',');
    if (parts.size() != 4)
        return {};
    int numbers[4];
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        numbers[i] = parts.at(i).toInt(&ok);
        if (!ok)
            return {};
    }
    return QRect(numbers[0], numbers[1], numbers[2], numbers[3]);
}

// Centred under the island, and wholly inside the work area of its screen:
// moved up over the island only as far as the area makes it.
void placeUnder(QWidget &dialog, const QRect &island)
{
    QScreen *screen = QGuiApplication::screenAt(island.center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    // Room for a window manager's title bar and edges.
    constexpr int margin = 8;
    constexpr int titleRoom = 32;
    const QRect area = screen->availableGeometry().adjusted(margin, margin, -margin, -margin - titleRoom);
    const QSize size = dialog.size().boundedTo(area.size());
    dialog.resize(size);
    const int x = std::clamp(island.center().x() - size.width() / 2, area.left(), area.right() + 1 - size.width());
    const int y = std::clamp(island.bottom() + 1 + margin, area.top(), area.bottom() + 1 - size.height());
    dialog.move(x, y);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("pavlet-pick"));
    QApplication::setDesktopFileName(QStringLiteral("pavlet"));
    const QStringList args = QApplication::arguments();
    if (args.size() < 2) {
        std::fputs("usage: pavlet-pick LABEL [WINDOW [X,Y,WIDTH,HEIGHT]]\n", stderr);
        return 2;
    }

    platform::FilesAndFoldersDialog dialog(args.at(1));
    dialog.setWindowTitle(QStringLiteral("Choose Files to Zip"));
    dialog.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    bool ok = false;
    const WId above = args.value(2).toULongLong(&ok);
    std::unique_ptr<QWindow> owner;
    if (ok && above) {
        owner.reset(QWindow::fromWinId(above));
        dialog.winId(); // the native window, so that it can name its owner
        dialog.windowHandle()->setTransientParent(owner.get());
    }
    if (const QRect island = frameFrom(args.value(3)); island.isValid())
        placeUnder(dialog, island);

    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QByteArray pending;
    QObject::connect(&input, &QSocketNotifier::activated, &dialog, [&] {
        char buffer[256];
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n <= 0) {
            input.setEnabled(false);
            dialog.reject();
            return;
        }
        pending.append(buffer, n);
        for (qsizetype end = pending.indexOf('\n'); end >= 0; end = pending.indexOf('\n')) {
            const QByteArray line = pending.left(end).trimmed();
            pending.remove(0, end + 1);
            if (line == "raise") {
                dialog.raise();
                dialog.activateWindow();
            }
        }
    });

    QObject::connect(&dialog, &QDialog::finished, &app, [&](int result) {
        if (result == QDialog::Accepted) {
            say("picked");
            for (const QUrl &url : std::as_const(dialog.chosen))
                say(url.toEncoded());
        } else {
            say("cancelled");
        }
        // exit(), not quit(), which a window may turn down.
        QCoreApplication::exit(0);
    });
    dialog.show();
    dialog.raise();
    dialog.activateWindow();
    say("shown");
    return app.exec();
}
