#pragma once

#include <QString>

// A real file system of its own, small enough to fill: a tmpfs mounted over
// an existing folder for the object's life (mounting needs root; mounted()
// says whether it took, why() why not). fill() takes every free block with
// dd, as a full disk would be, and free() gives them back.
class SmallFileSystem {
public:
    explicit SmallFileSystem(const QString &folder, int kilobytes = 256);
    ~SmallFileSystem();
    SmallFileSystem(const SmallFileSystem &) = delete;
    SmallFileSystem &operator=(const SmallFileSystem &) = delete;

    bool mounted() const { return m_mounted; }
    QString why() const { return m_why; }
    // True once no block is left.
    bool fill();
    void free();

private:
    QString m_folder;
    bool m_mounted = false;
    QString m_why;
};
