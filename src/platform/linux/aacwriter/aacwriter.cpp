#include "platform/linux/aacwriter/aacwriter.h"

#include "platform/linux/aacwriter/aacfilewriter.h"

struct PavletAacWriter {
    AacFileWriter file;
};

extern "C" {

PavletAacWriter *pavlet_aac_open(const char *path, int sampleRate)
{
    auto *writer = new PavletAacWriter;
    if (!writer->file.open(path, sampleRate)) {
        delete writer;
        return nullptr;
    }
    return writer;
}

int pavlet_aac_write(PavletAacWriter *writer, const int16_t *samples,
int64_t count)
{
    return writer && writer->file.write(samples, count) ? 1 : 0;
}

int pavlet_aac_finish(PavletAacWriter *writer)
{
    if (!writer)
        return 0;
    const bool ok = writer->file.finish();
    delete writer;
    return ok ? 1 : 0;
}

void pavlet_aac_abort(PavletAacWriter *writer)
{
    delete writer; // the writer closes its file as it is
}
}
