#pragma once

#include <stdint.h>

// The AAC file writer behind a plain C interface, built as a module of its
// own: FFmpeg's libraries and the codec libraries they pull in are loaded
// when the first take starts, not with the program.
extern "C" {

struct PavletAacWriter;

// Opens path for mono AAC at sampleRate; null when the encoder or the file
// cannot be opened.
PavletAacWriter *pavlet_aac_open(const char *path, int sampleRate);
// Encodes count 16-bit samples; 0 on failure.
int pavlet_aac_write(PavletAacWriter *writer, const int16_t *samples, int64_t count);
// Encodes what is left, writes the file's index and frees the writer; 0 on
// failure.
int pavlet_aac_finish(PavletAacWriter *writer);
// Closes the file as it is (not playable) and frees the writer.
void pavlet_aac_abort(PavletAacWriter *writer);

using PavletAacOpen = PavletAacWriter *(*)(const char *, int);
using PavletAacWrite = int (*)(PavletAacWriter *, const int16_t *, int64_t);
using PavletAacFinish = int (*)(PavletAacWriter *);
using PavletAacAbort = void (*)(PavletAacWriter *);
}
