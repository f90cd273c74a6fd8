#pragma once

#include <QString>

namespace platform {

// Shows a file in the desktop's file manager.
class IFileRevealer {
public:
    virtual ~IFileRevealer() = default;
    virtual void reveal(const QString &path) = 0;
};

} // namespace platform
