#pragma once

#include "platform/filerevealer.h"

#include <QStringList>

class FakeFileRevealer final : public platform::IFileRevealer {
public:
    QStringList revealed;
    void reveal(const QString &path) override { revealed << path; }
};
