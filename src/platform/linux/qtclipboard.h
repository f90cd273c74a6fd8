#pragma once

#include "platform/clipboard.h"

#include <QObject>

namespace platform {

// The system clipboard through QClipboard. Qt has no change count, so one is
// kept here: it goes up on every dataChanged.
class QtClipboard final : public QObject, public IClipboard {
    Q_OBJECT
public:
    explicit QtClipboard(QObject *parent = nullptr);

    int changeCount() override { return m_changes; }
    std::optional<QString> text() override;
    void setText(const QString &text) override;
    void setImage(const QImage &image) override;
    QList<QUrl> fileUrls() override;
    QImage readImage() override;

private:
    int m_changes = 0;
};

} // namespace platform
