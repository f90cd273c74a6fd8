#include "platform/linux/audiodecoder/audiodecoder.h"

#include <algorithm>
#include <cstring>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/log.h>
#include <libswresample/swresample.h>
}

struct PavletAudioDecoder {
    AVFormatContext *format = nullptr;
    AVCodecContext *codec = nullptr;
    SwrContext *resampler = nullptr;
    AVPacket *packet = nullptr;
    AVFrame *frame = nullptr;
    int stream = -1;
    int channels = 1;
    bool flushed = false; // the file is read to its end, the codec drained
    bool ended = false;
    std::vector<int16_t> pending; // converted frames not yet handed out
    size_t used = 0;

    ~PavletAudioDecoder()
    {
        av_frame_free(&frame);
        av_packet_free(&packet);
        swr_free(&resampler);
        avcodec_free_context(&codec);
        avformat_close_input(&format);
    }

    bool open(const char *path)
    {
        av_log_set_level(AV_LOG_ERROR);
        if (avformat_open_input(&format, path, nullptr, nullptr) < 0)
            return false;
        if (avformat_find_stream_info(format, nullptr) < 0)
            return false;
        const AVCodec *decoder = nullptr;
        stream = av_find_best_stream(format, AVMEDIA_TYPE_AUDIO, -1, -1, &decoder, 0);
        if (stream < 0 || !decoder)
            return false;
        codec = avcodec_alloc_context3(decoder);
        if (!codec || avcodec_parameters_to_context(codec, format->streams[stream]->codecpar) < 0)
            return false;
        // One thread: the module leaves no worker of its own behind.
        codec->thread_count = 1;
        if (avcodec_open2(codec, decoder, nullptr) < 0 || codec->sample_rate <= 0 || codec->ch_layout.nb_channels <= 0)
            return false;
        channels = std::min(codec->ch_layout.nb_channels, 2);
        AVChannelLayout out;
        av_channel_layout_default(&out, channels);
        const int made = swr_alloc_set_opts2(&resampler, &out, AV_SAMPLE_FMT_S16, codec->sample_rate, &codec->ch_layout,
                                             codec->sample_fmt, codec->sample_rate, 0, nullptr);
        av_channel_layout_uninit(&out);
        if (made < 0 || swr_init(resampler) < 0)
            return false;
        packet = av_packet_alloc();
        frame = av_frame_alloc();
        return packet && frame;
    }

    // Decodes the next frame into pending: false at the end or on a failure
    // (ended tells which).
    bool decodeMore(bool *broken)
    {
        for (;;) {
            const int got = avcodec_receive_frame(codec, frame);
            if (got == 0) {
                const bool ok = convert();
                av_frame_unref(frame);
                if (!ok) {
                    *broken = true;
                    return false;
                }
                return true;
            }
            if (got == AVERROR_EOF) {
                ended = true;
                return false;
            }
            if (got != AVERROR(EAGAIN)) {
                *broken = true;
                return false;
            }
            if (flushed) {
                ended = true;
                return false;
            }
            const int read = av_read_frame(format, packet);
            if (read == AVERROR_EOF) {
                flushed = true;
                avcodec_send_packet(codec, nullptr);
                continue;
            }
            if (read < 0) {
                *broken = true;
                return false;
            }
            int sent = 0;
            if (packet->stream_index == stream)
                sent = avcodec_send_packet(codec, packet);
            av_packet_unref(packet);
            // A damaged packet is skipped, as players do; the codec goes on.
            if (sent < 0 && sent != AVERROR_INVALIDDATA) {
                *broken = true;
                return false;
            }
        }
    }

    bool convert()
    {
        const int room = swr_get_out_samples(resampler, frame->nb_samples);
        if (room < 0)
            return false;
        pending.erase(pending.begin(), pending.begin() + std::ptrdiff_t(used));
        used = 0;
        const size_t start = pending.size();
        pending.resize(start + size_t(room) * size_t(channels));
        auto *out = reinterpret_cast<uint8_t *>(pending.data() + start);
        const int made = swr_convert(resampler, &out, room, const_cast<const uint8_t **>(frame->extended_data),
                                     frame->nb_samples);
        if (made < 0)
            return false;
        pending.resize(start + size_t(made) * size_t(channels));
        return true;
    }
};

extern "C" {

PavletAudioDecoder *pavlet_decoder_open(const char *path, int *rate, int *channels)
{
    auto *decoder = new PavletAudioDecoder;
    if (!decoder->open(path)) {
        delete decoder;
        return nullptr;
    }
    *rate = decoder->codec->sample_rate;
    *channels = decoder->channels;
    return decoder;
}

int64_t pavlet_decoder_read(PavletAudioDecoder *decoder, int16_t *out, int64_t frames)
{
    if (!decoder || frames <= 0)
        return -1;
    const size_t wanted = size_t(frames) * size_t(decoder->channels);
    bool broken = false;
    while (decoder->pending.size() - decoder->used < wanted && !decoder->ended && !broken)
        decoder->decodeMore(&broken);
    const size_t have = std::min(wanted, decoder->pending.size() - decoder->used);
    if (have == 0)
        return broken ? -1 : 0;
    std::memcpy(out, decoder->pending.data() + decoder->used, have * sizeof(int16_t));
    decoder->used += have;
    return int64_t(have / size_t(decoder->channels));
}

void pavlet_decoder_close(PavletAudioDecoder *decoder)
{
    delete decoder;
}
}
