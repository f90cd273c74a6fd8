// pavlet-pick: the file dialog of the zip card, in a process of its own, so
// that the island itself never loads Qt's widgets.
//
//   pavlet-pick LABEL [WINDOW]
//
// Shows the dialog that chooses files and folders to zip, its confirm
// button saying LABEL, kept over the X window WINDOW when given. Prints "shown" once it is up,
// then "picked" and one encoded URL a line, or "cancelled". A line "raise"
// on standard input brings the dialog forward; the end of standard input
// (the island is gone) cancels it.

#include "platform/linux/filesandfoldersdialog.h"

#include <QApplication>
#include <QSocketNotifier>
#include <QWindow>

#include <cstdio>
#include <unistd.h>

namespace {

void say(const QByteArray &line)
{
    std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("pavlet-pick"));
    QApplication::setDesktopFileName(QStringLiteral("pavlet"));
    const QStringList args = QApplication::arguments();
    if (args.size() < 2) {
        std::fputs("usage: pavlet-pick LABEL [WINDOW]\n", stderr);
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
