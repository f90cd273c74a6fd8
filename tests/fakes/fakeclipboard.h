#pragma once

#include "platform/clipboard.h"

class FakeClipboard final : public platform::IClipboard {
public:
    int count = 0;
    std::optional<QString> content;
    QImage image;
    int textReads = 0;
    QList<QUrl> files;

    int changeCount() override { return count; }
    std::optional<QString> text() override
    {
        ++textReads;
        return content;
    }
    void setText(const QString &text) override
    {
        content = text;
        ++count;
    }
    void setImage(const QImage &img) override
    {
        image = img;
        content.reset();
        ++count;
    }
    QList<QUrl> fileUrls() override { return files; }
    QImage readImage() override { return image; }
    // Another program copies something.
    void copy(const std::optional<QString> &text)
    {
        content = text;
        ++count;
    }
};
