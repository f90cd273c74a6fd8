// pavlet-sound: encodes and decodes sound files for the island, so that
// FFmpeg's libraries (and the codec and TLS libraries they pull in, some of
// which can never be unloaded) live in this short process, not in the
// island.
//
//   pavlet-sound encode PATH RATE   16-bit mono samples on standard input
//                                   become an AAC file at PATH; exit 0 once
//                                   it is complete.
//   pavlet-sound decode PATH        standard output gets the sample rate and
//                                   the channel count (1 or 2) as two 32-bit
//                                   integers, then the sound as interleaved
//                                   16-bit samples; exit 0 at its end.
#include "platform/linux/aacwriter/aacfilewriter.h"
#include "platform/linux/audiodecoder/audiodecoder.h"

#include <sys/prctl.h>

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <unistd.h>
#include <vector>

namespace {

bool writeAll(int fd, const void *data, size_t bytes)
{
    const auto *p = static_cast<const char *>(data);
    while (bytes > 0) {
        const ssize_t n = write(fd, p, bytes);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        p += n;
        bytes -= size_t(n);
    }
    return true;
}

int encode(const char *path, int rate)
{
    AacFileWriter writer;
    if (rate <= 0 || !writer.open(path, rate))
        return 1;
    std::vector<int16_t> samples(4096);
    char carry = 0;
    bool odd = false;
    for (;;) {
        auto *bytes = reinterpret_cast<char *>(samples.data());
        size_t have = 0;
        if (odd)
            bytes[have++] = carry;
        const ssize_t n = read(STDIN_FILENO, bytes + have, samples.size() * 2 - have);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            writer.abort();
            return 1;
        }
        if (n == 0)
            break;
        have += size_t(n);
        odd = have % 2 != 0;
        if (odd)
            carry = bytes[have - 1];
        if (!writer.write(samples.data(), int64_t(have / 2))) {
            writer.abort();
            return 1;
        }
    }
    return writer.finish() ? 0 : 1;
}

int decode(const char *path)
{
    int32_t format[2] = {0, 0};
    PavletAudioDecoder *decoder = pavlet_decoder_open(path, &format[0], &format[1]);
    if (!decoder)
        return 1;
    if (!writeAll(STDOUT_FILENO, format, sizeof format))
        return 1;
    std::vector<int16_t> samples(size_t(4096) * size_t(format[1]));
    for (;;) {
        const int64_t got = pavlet_decoder_read(decoder, samples.data(), 4096);
        if (got < 0) {
            pavlet_decoder_close(decoder);
            return 1;
        }
        if (got == 0)
            break;
        if (!writeAll(STDOUT_FILENO, samples.data(), size_t(got) * size_t(format[1]) * 2)) {
            pavlet_decoder_close(decoder);
            return 1; // the island no longer listens
        }
    }
    pavlet_decoder_close(decoder);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    // Goes with the island, whatever it is doing.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() == 1)
        return 1;
    if (argc == 4 && std::strcmp(argv[1], "encode") == 0)
        return encode(argv[2], std::atoi(argv[3]));
    if (argc == 3 && std::strcmp(argv[1], "decode") == 0)
        return decode(argv[2]);
    return 2;
}
