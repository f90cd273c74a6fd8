#include "platform/linux/aacwriter/aacfilewriter.h"

#include <algorithm>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/log.h>
}

AacFileWriter::~AacFileWriter()
{
    abort();
}

bool AacFileWriter::open(const char *path, int sampleRate)
{
    abort();
    // The encoder's statistics are not for the user's terminal.
    av_log_set_level(AV_LOG_ERROR);
    // "ipod" is MPEG-4 audio with the ".m4a" brand.
    if (avformat_alloc_output_context2(&m_format, nullptr, "ipod", path) < 0 || !m_format) {
        m_format = nullptr;
        return false;
    }
    const AVCodec *aac = avcodec_find_encoder(AV_CODEC_ID_AAC);
    m_codec = aac ? avcodec_alloc_context3(aac) : nullptr;
    m_stream = avformat_new_stream(m_format, nullptr);
    m_frame = av_frame_alloc();
    m_packet = av_packet_alloc();
    if (!m_codec || !m_stream || !m_frame || !m_packet) {
        close();
        return false;
    }
    m_codec->sample_fmt = AV_SAMPLE_FMT_FLTP;
    m_codec->sample_rate = sampleRate;
    m_codec->time_base = AVRational{1, sampleRate};
    m_codec->bit_rate = 96000;
    av_channel_layout_default(&m_codec->ch_layout, 1);
    if (m_format->oformat->flags & AVFMT_GLOBALHEADER)
        m_codec->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    if (avcodec_open2(m_codec, aac, nullptr) < 0
        || avcodec_parameters_from_context(m_stream->codecpar, m_codec) < 0) {
        close();
        return false;
    }
    m_stream->time_base = m_codec->time_base;
    if (avio_open(&m_format->pb, path, AVIO_FLAG_WRITE) < 0) {
        close();
        return false;
    }
    if (avformat_write_header(m_format, nullptr) < 0) {
        close();
        return false;
    }
    m_frame->format = m_codec->sample_fmt;
    m_frame->sample_rate = sampleRate;
    m_frame->nb_samples = m_codec->frame_size;
    av_channel_layout_copy(&m_frame->ch_layout, &m_codec->ch_layout);
    if (av_frame_get_buffer(m_frame, 0) < 0) {
        close();
        return false;
    }
    m_pending.clear();
    m_pts = 0;
    m_written = 0;
    return true;
}

bool AacFileWriter::write(const int16_t *samples, int64_t count)
{
    if (!m_format)
        return false;
    for (int64_t i = 0; i < count; ++i)
        m_pending.push_back(float(samples[i]) / 32768.0f);
    const size_t frameSize = size_t(m_codec->frame_size);
    size_t used = 0;
    while (m_pending.size() - used >= frameSize) {
        if (av_frame_make_writable(m_frame) < 0)
            return false;
        std::copy_n(m_pending.begin() + std::ptrdiff_t(used), frameSize, reinterpret_cast<float *>(m_frame->data[0]));
        m_frame->nb_samples = int(frameSize);
        m_frame->pts = m_pts;
        m_pts += int64_t(frameSize);
        used += frameSize;
        if (!encode(m_frame))
            return false;
    }
    m_pending.erase(m_pending.begin(), m_pending.begin() + std::ptrdiff_t(used));
    m_written += count;
    return true;
}

bool AacFileWriter::encode(AVFrame *frame)
{
    if (avcodec_send_frame(m_codec, frame) < 0)
        return false;
    for (;;) {
        const int got = avcodec_receive_packet(m_codec, m_packet);
        if (got == AVERROR(EAGAIN) || got == AVERROR_EOF)
            return true;
        if (got < 0)
            return false;
        av_packet_rescale_ts(m_packet, m_codec->time_base, m_stream->time_base);
        m_packet->stream_index = m_stream->index;
        if (av_interleaved_write_frame(m_format, m_packet) < 0)
            return false;
    }
}

bool AacFileWriter::finish()
{
    if (!m_format)
        return false;
    bool ok = true;
    if (!m_pending.empty()) {
        // The last, short frame.
        ok = av_frame_make_writable(m_frame) >= 0;
        if (ok) {
            std::copy(m_pending.begin(), m_pending.end(), reinterpret_cast<float *>(m_frame->data[0]));
            m_frame->nb_samples = int(m_pending.size());
            m_frame->pts = m_pts;
            m_pts += int64_t(m_pending.size());
            ok = encode(m_frame);
        }
        m_pending.clear();
    }
    ok = encode(nullptr) && ok;
    ok = av_write_trailer(m_format) == 0 && ok;
    close();
    return ok;
}

void AacFileWriter::abort()
{
    close();
}

void AacFileWriter::close()
{
    if (m_format && m_format->pb)
        avio_closep(&m_format->pb);
    if (m_format)
        avformat_free_context(m_format);
    m_format = nullptr;
    m_stream = nullptr;
    avcodec_free_context(&m_codec);
    av_frame_free(&m_frame);
    av_packet_free(&m_packet);
}
