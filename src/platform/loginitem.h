#pragma once

#include <QString>

// Whether the program starts when the user logs in.
class LoginItem {
public:
    enum class Status { NotRegistered, Enabled, RequiresApproval, NotFound };

    virtual ~LoginItem() = default;
    virtual Status status() const = 0;
    // Both return false and describe the failure in *error when they fail.
    virtual bool registerItem(QString *error) = 0;
    virtual bool unregisterItem(QString *error) = 0;
};
