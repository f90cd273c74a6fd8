#pragma once

#include <QString>
#include <QStringList>

// Fails the running test on any warning from the program's own QML: errors
// in its files, binding loops, type errors, layout and stacking complaints.
// Installed once by the test programs' main; every test that runs QML is
// covered without asking.
namespace QmlWarnings {

void install();

// Whether a message printed while QML runs is one of the program's own
// complaints (and not, say, a backend's log line).
bool isOwn(const QString &message, const char *file);

// What has been seen so far in this process (also the ones outside a test).
QStringList seen();

// While one lives, warnings that contain `part` are expected and do not fail
// the test (a test that checks what a broken file prints).
class Expected {
public:
    explicit Expected(const QString &part);
    ~Expected();
    Expected(const Expected &) = delete;
    Expected &operator=(const Expected &) = delete;
};

} // namespace QmlWarnings
