#pragma once

#include "platform/clipboard.h"

#include <utility>
#include <vector>

class FakeClipboard final : public platform::IClipboard {
public:
    int count = 0;
    std::optional<QString> content;
    QImage image;
    QByteArray png;
    bool imageTooBig = false;
    int textReads = 0;
    QList<QUrl> files;
    ReadState state = ReadState::ready;
    bool tooLarge = false;
    std::vector<std::function<void()>> waiting;

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
    QByteArray imagePng() override { return png; }
    bool imageTooLarge() override { return imageTooBig; }
    ReadState readState() override { return state; }
    bool textTooLarge() override { return tooLarge; }
    void whenRead(std::function<void()> then) override
    {
        if (state == ReadState::reading)
            waiting.push_back(std::move(then));
        else
            then();
    }
    // The read under way ends in state.
    void read(ReadState ended)
    {
        state = ended;
        for (auto &then : std::exchange(waiting, {}))
            then();
    }
    // Another program copies something.
    void copy(const std::optional<QString> &text)
    {
        content = text;
        ++count;
    }
};
