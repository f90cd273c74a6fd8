#include "support/qmlwarnings.h"

#include <QApplication>

#include <algorithm>
#include <string_view>
#include <QStandardPaths>
#include <QtQml/qqmlextensionplugin.h>
#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <cstdlib>
#include <poll.h>
#include <string>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

Q_IMPORT_QML_PLUGIN(PavletPlugin)
Q_IMPORT_QML_PLUGIN(Pavlet_StylePlugin)

namespace {

// A test program whose folder sets PAVLET_OWN_XSERVER=1 in its test.env (it
// then runs with --own-x-server) gets an X server of its own for each run,
// the size of the shared one, so that no other test's windows, pointer
// moves or drags reach its windows.
class OwnXServer {
public:
    OwnXServer()
    {
        int fds[2];
        if (pipe(fds) != 0)
            return;
        m_pid = fork();
        if (m_pid == 0) {
            // The server ends with the test, even one that crashed.
            prctl(PR_SET_PDEATHSIG, SIGTERM);
            close(fds[0]);
            if (const int quiet = open("/dev/null", O_WRONLY); quiet >= 0) {
                dup2(quiet, STDOUT_FILENO);
                dup2(quiet, STDERR_FILENO);
            }
            const std::string fd = std::to_string(fds[1]);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-noreset", "-nolisten", "tcp", "-screen", "0",
                   "1512x982x24", static_cast<char *>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        std::string number;
        pollfd p{fds[0], POLLIN, 0};
        char c = 0;
        while (m_pid > 0 && poll(&p, 1, 10000) > 0 && read(fds[0], &c, 1) == 1 && c != '\n')
            number += c;
        close(fds[0]);
        if (!number.empty())
            setenv("DISPLAY", (":" + number).c_str(), 1);
    }
    ~OwnXServer()
    {
        if (m_pid > 0) {
            kill(m_pid, SIGTERM);
            waitpid(m_pid, nullptr, 0);
        }
    }
    OwnXServer(const OwnXServer &) = delete;
    OwnXServer &operator=(const OwnXServer &) = delete;

private:
    pid_t m_pid = -1;
};

} // namespace

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    bool ownXServer = qEnvironmentVariableIntValue("PAVLET_OWN_XSERVER") == 1;
    for (int i = 1; i < argc; ++i) {
        if (std::string_view(argv[i]) == "--own-x-server") {
            ownXServer = true;
            std::copy(argv + i + 1, argv + argc + 1, argv + i);
            --argc;
            break;
        }
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    std::unique_ptr<OwnXServer> xserver;
    if (ownXServer && !qEnvironmentVariableIsEmpty("DISPLAY") && !GTEST_FLAG_GET(list_tests))
        xserver = std::make_unique<OwnXServer>();
    QStandardPaths::setTestModeEnabled(true);
    QmlWarnings::install();
    int status = 0;
    {
        QApplication app(argc, argv);
        QApplication::setOrganizationName("Pavlet");
        QApplication::setApplicationName("Pavlet");
        status = RUN_ALL_TESTS();
    }
    return status;
}
