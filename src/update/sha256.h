#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QCryptographicHash>
#include <array>
#include <cstdint>

// SHA-256 over a stream of bytes. Uses the processor's SHA instructions
// where there are some (several times faster on large files) and Qt's
// implementation elsewhere; both give the same digest.
class Sha256 {
public:
    Sha256();
    void addData(QByteArrayView data);
    // The 32-byte digest; the object is spent afterwards.
    QByteArray result();

    // Whether this machine takes the fast path.
    static bool hardwareAccelerated();

private:
    void compress(const uint8_t *blocks, size_t count);

    bool m_hardware;
    QCryptographicHash m_fallback;
    std::array<uint32_t, 8> m_state;
    std::array<uint8_t, 64> m_buffer;
    size_t m_buffered = 0;
    uint64_t m_length = 0;
};
