#pragma once

#include <stdint.h>

// The sound file reader of the sound helper program (pavlet-sound), with
// FFmpeg's libraries. It uses no Qt.
extern "C" {

struct PavletAudioDecoder;

// Opens the first audio stream of path; null when the file holds none or
// cannot be read. *rate and *channels (1 or 2) tell the sound read() hands
// out: interleaved signed 16-bit samples, little-endian.
PavletAudioDecoder *pavlet_decoder_open(const char *path, int *rate, int *channels);
// Decodes up to frames frames (a sample per channel each) into out: the
// frames written, 0 at the end of the file, -1 when the file is broken.
int64_t pavlet_decoder_read(PavletAudioDecoder *decoder, int16_t *out, int64_t frames);
// Closes the file and frees the decoder.
void pavlet_decoder_close(PavletAudioDecoder *decoder);
}
