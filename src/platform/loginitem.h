#pragma once

#include <QString>

namespace platform {

// Whether the program starts when the user logs in.
class ILoginItem {
public:
    enum class Status { NotRegistered, Enabled, RequiresApproval, NotFound };

    virtual ~ILoginItem() = default;
    virtual Status status() const = 0;
    // Both return false and describe the failure in *error when they fail.
    virtual bool registerItem(QString *error) = 0;
    virtual bool unregisterItem(QString *error) = 0;
};

} // namespace platform
