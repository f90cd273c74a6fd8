#pragma once

#include <QString>

// A tmpfs of its own mounted over folder for the object's life (mounting needs
// root; why says what failed, empty once mounted); fill() takes every free
// block with dd, as on a full disk, and free() gives them back.
class SmallFileSystem {
public:
    explicit SmallFileSystem(const QString &folder);
    ~SmallFileSystem();
    QString why;
    bool fill();
    void free();

private:
    QString m_folder;
};
