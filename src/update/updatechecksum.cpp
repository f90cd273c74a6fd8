#include "update/updatechecksum.h"

#include "update/sha256.h"

#include <QFile>

std::optional<QString> sha256Hex(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    Sha256 hash;
    QByteArray buffer(1 << 20, Qt::Uninitialized);
    for (;;) {
        const qint64 n = file.read(buffer.data(), buffer.size());
        if (n < 0)
            return std::nullopt;
        if (n == 0)
            break;
        hash.addData(QByteArrayView(buffer.constData(), n));
    }
    return QString::fromLatin1(hash.result().toHex());
}

ChecksumResult verifyChecksum(const QString &path, const QString &expected)
{
    const auto actual = sha256Hex(path);
    if (!actual)
        return ChecksumResult::unreadable;
    const QByteArray a = actual->toUtf8();
    const QByteArray b = expected.toUtf8();
    if (actual->size() != expected.size() || a.size() != b.size())
        return ChecksumResult::differs;
    unsigned char difference = 0;
    for (qsizetype i = 0; i < a.size(); ++i)
        difference |= static_cast<unsigned char>(a[i] ^ b[i]);
    return difference == 0 ? ChecksumResult::matches : ChecksumResult::differs;
}
