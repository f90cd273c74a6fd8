#include "update/sha256.h"

#include <cstring>

#if (defined(__x86_64__) || defined(__i386__)) && (defined(__GNUC__) || defined(__clang__))
#define PAVLET_SHA_X86 1
#include <immintrin.h>
#endif

namespace {

#ifdef PAVLET_SHA_X86
alignas(16) constexpr uint32_t K[64] = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2,
};

// Sixteen groups of four rounds; each group's message words come from the
// block for the first four groups and from the schedule after that.
__attribute__((target("sha,sse4.1,ssse3"))) void compressX86(uint32_t state[8], const uint8_t *data, size_t blocks)
{
    const __m128i byteSwap = _mm_set_epi64x(0x0c0d0e0f08090a0bULL, 0x0405060700010203ULL);
    __m128i tmp = _mm_loadu_si128(reinterpret_cast<const __m128i *>(&state[0]));
    __m128i state1 = _mm_loadu_si128(reinterpret_cast<const __m128i *>(&state[4]));
    tmp = _mm_shuffle_epi32(tmp, 0xB1);          // CDAB
    state1 = _mm_shuffle_epi32(state1, 0x1B);    // EFGH
    __m128i state0 = _mm_alignr_epi8(tmp, state1, 8); // ABEF
    state1 = _mm_blend_epi16(state1, tmp, 0xF0);      // CDGH

    for (; blocks > 0; --blocks, data += 64) {
        const __m128i abefSave = state0;
        const __m128i cdghSave = state1;
        __m128i w[4];
        for (int group = 0; group < 16; ++group) {
            __m128i &current = w[group & 3];
            if (group < 4) {
                current = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i *>(data + 16 * group)),
                                           byteSwap);
            } else {
                // w[group-4] is the slot being replaced; w[group-1] the newest.
                const __m128i &oldest = current;
                const __m128i &next = w[(group + 1) & 3];
                const __m128i &third = w[(group + 2) & 3];
                const __m128i &newest = w[(group + 3) & 3];
                const __m128i sum = _mm_add_epi32(_mm_sha256msg1_epu32(oldest, next), _mm_alignr_epi8(newest, third, 4));
                current = _mm_sha256msg2_epu32(sum, newest);
            }
            __m128i msg = _mm_add_epi32(current, _mm_load_si128(reinterpret_cast<const __m128i *>(&K[4 * group])));
            state1 = _mm_sha256rnds2_epu32(state1, state0, msg);
            msg = _mm_shuffle_epi32(msg, 0x0E);
            state0 = _mm_sha256rnds2_epu32(state0, state1, msg);
        }
        state0 = _mm_add_epi32(state0, abefSave);
        state1 = _mm_add_epi32(state1, cdghSave);
    }

    tmp = _mm_shuffle_epi32(state0, 0x1B);          // FEBA
    state1 = _mm_shuffle_epi32(state1, 0xB1);       // DCHG
    state0 = _mm_blend_epi16(tmp, state1, 0xF0);    // DCBA
    state1 = _mm_alignr_epi8(state1, tmp, 8);       // ABEF -> HGFE order for storing
    _mm_storeu_si128(reinterpret_cast<__m128i *>(&state[0]), state0);
    _mm_storeu_si128(reinterpret_cast<__m128i *>(&state[4]), state1);
}
#endif

} // namespace

bool Sha256::hardwareAccelerated()
{
#ifdef PAVLET_SHA_X86
    static const bool supported = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("sha") && __builtin_cpu_supports("sse4.1") && __builtin_cpu_supports("ssse3");
    }();
    return supported;
#else
    return false;
#endif
}

Sha256::Sha256()
    : m_hardware(hardwareAccelerated()), m_fallback(QCryptographicHash::Sha256),
      m_state{0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a, 0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19}
{
}

void Sha256::compress(const uint8_t *blocks, size_t count)
{
#ifdef PAVLET_SHA_X86
    compressX86(m_state.data(), blocks, count);
#else
    Q_UNUSED(blocks);
    Q_UNUSED(count);
#endif
}

void Sha256::addData(QByteArrayView data)
{
    if (!m_hardware) {
        m_fallback.addData(data);
        return;
    }
    auto bytes = reinterpret_cast<const uint8_t *>(data.data());
    size_t size = size_t(data.size());
    m_length += size;
    if (m_buffered > 0) {
        const size_t take = std::min(size, 64 - m_buffered);
        std::memcpy(m_buffer.data() + m_buffered, bytes, take);
        m_buffered += take;
        bytes += take;
        size -= take;
        if (m_buffered < 64)
            return;
        compress(m_buffer.data(), 1);
        m_buffered = 0;
    }
    if (size >= 64) {
        compress(bytes, size / 64);
        bytes += size - size % 64;
        size %= 64;
    }
    std::memcpy(m_buffer.data(), bytes, size);
    m_buffered = size;
}

QByteArray Sha256::result()
{
    if (!m_hardware)
        return m_fallback.result();
    // A one bit, zeros up to 56 bytes into a block, the length in bits.
    const uint64_t bits = m_length * 8;
    uint8_t tail[128] = {0x80};
    const size_t padding = (m_buffered < 56 ? 56 : 120) - m_buffered;
    for (int i = 0; i < 8; ++i)
        tail[padding + i] = uint8_t(bits >> (56 - 8 * i));
    addData(QByteArrayView(reinterpret_cast<const char *>(tail), qsizetype(padding + 8)));

    QByteArray digest(32, Qt::Uninitialized);
    for (int i = 0; i < 8; ++i) {
        for (int b = 0; b < 4; ++b)
            digest[4 * i + b] = char(m_state[i] >> (24 - 8 * b));
    }
    return digest;
}
