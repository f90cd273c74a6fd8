#pragma once

#include "platform/filerevealer.h"

#include <QDBusConnection>
#include <QObject>

namespace platform {

// Shows a file with the desktop's file manager
// (org.freedesktop.FileManager1.ShowItems), else opens its folder.
class FileManagerRevealer final : public QObject, public platform::IFileRevealer {
    Q_OBJECT
public:
    explicit FileManagerRevealer(const QDBusConnection &bus, QObject *parent = nullptr);
    void reveal(const QString &path) override;

private:
    QDBusConnection m_bus;
};

} // namespace platform
