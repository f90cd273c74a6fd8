#pragma once

#include <cstdint>
#include <vector>

struct AVCodecContext;
struct AVFormatContext;
struct AVFrame;
struct AVPacket;
struct AVStream;

// Encodes 16-bit mono samples as AAC into an MPEG-4 audio file (".m4a") as
// they come, with FFmpeg's libraries. The file is complete after finish().
// Part of the sound helper program (pavlet-sound): it uses no Qt.
class AacFileWriter {
public:
    AacFileWriter() = default;
    ~AacFileWriter();
    AacFileWriter(const AacFileWriter &) = delete;
    AacFileWriter &operator=(const AacFileWriter &) = delete;

    // False when the encoder or the file cannot be opened.
    bool open(const char *path, int sampleRate);
    bool isOpen() const { return m_format != nullptr; }
    bool write(const int16_t *samples, int64_t count);
    // Encodes what is left and writes the file's index; false on failure.
    bool finish();
    // Closes the file as it is (not playable), for a take that is thrown away.
    void abort();
    int64_t samplesWritten() const { return m_written; }

private:
    bool encode(AVFrame *frame);
    void close();

    AVFormatContext *m_format = nullptr;
    AVCodecContext *m_codec = nullptr;
    AVStream *m_stream = nullptr;
    AVFrame *m_frame = nullptr;
    AVPacket *m_packet = nullptr;
    std::vector<float> m_pending; // samples waiting for a whole frame
    int64_t m_pts = 0;
    int64_t m_written = 0;
};
