#include "ffmpeg_decoder.h"

#include "core/regular_file.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libswresample/swresample.h>
}

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstring>
#include <optional>
#include <vector>

namespace dorvane {

namespace {

constexpr int kIoBufferBytes = 32768;
// Rates outside this range are no music; the upper bound also bounds the
// output buffer the feed makes from the rate.
constexpr int kMinRate = 1000;
constexpr int kMaxRate = 384000;
constexpr int kMaxSourceChannels = 64;
// A file that stops producing sound for this many packets in a row (errors,
// packets of other streams, frames without samples) has run dry.
constexpr int kMaxIdlePackets = 4096;
// The demuxers of sound files. None of them opens another file: the concat
// script, the playlists (hls, dash) and image sequences, which follow names
// written in the file to FIFOs, devices or anything else, are left out.
constexpr const char* kAudioFormats =
    "aac,ac3,aiff,amr,ape,asf,au,caf,dsf,dts,eac3,flac,matroska,mlp,mov,mp3,mpc,mpc8,ogg,tak,"
    "truehd,tta,w64,wav,wv,xwma";
// A file that gives no sound for this much input (or this long a read) is
// given up: a demuxer hunting for frames in zeros keeps every byte it has
// read, and a file of gigabytes of them would be read to its end.
constexpr std::uint64_t kMaxSilentBytes = std::uint64_t(32) << 20;
constexpr std::int64_t kMaxSilentMs = 4000;
// The samples (all channels) a decoded frame may hold: FFmpeg allocates the
// frame before we see it; the largest frames of real files (APE at its
// highest compression) are some 300 000 samples a channel.
constexpr int kMaxFrameSamples = 1 << 22;

struct TFormatCloser {
    void operator()(AVFormatContext* p) const { avformat_close_input(&p); }
};
struct TIoFree {
    void operator()(AVIOContext* p) const {
        av_freep(&p->buffer);
        avio_context_free(&p);
    }
};
struct TCodecFree {
    void operator()(AVCodecContext* p) const { avcodec_free_context(&p); }
};
struct TSwrFree {
    void operator()(SwrContext* p) const { swr_free(&p); }
};
struct TFrameFree {
    void operator()(AVFrame* p) const { av_frame_free(&p); }
};
struct TPacketFree {
    void operator()(AVPacket* p) const { av_packet_free(&p); }
};

std::int64_t SteadyMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// What ends the work of one call into the decoder: the program's close, and
// a file that reads on without giving sound.
struct TWorkLimit {
    const std::function<bool()>* cancelled = nullptr;
    std::int64_t silentSince = 0;  // ms: the call's start or its last sound
    std::uint64_t silentBytes = 0; // read since the last sound, across calls
    bool stalled = false;

    void StartCall() { silentSince = SteadyMs(); }
    void Sound() {
        silentSince = SteadyMs();
        silentBytes = 0;
    }
    bool Interrupted() {
        if (stalled) return true;
        if (cancelled && *cancelled && (*cancelled)()) return true;
        stalled = silentBytes > kMaxSilentBytes || SteadyMs() - silentSince > kMaxSilentMs;
        return stalled;
    }
};

int InterruptCallback(void* opaque) {
    return static_cast<TWorkLimit*>(opaque)->Interrupted() ? 1 : 0;
}

// The checked file behind our AVIOContext.
struct TSource {
    TSource(TRegularFile f, TWorkLimit& l) : file(std::move(f)), limit(l) {}
    TRegularFile file;
    TWorkLimit& limit;
    std::uint64_t position = 0;
};

// Opening another file is never allowed: the demuxer reads the named file only.
int RefuseNestedOpen(AVFormatContext*, AVIOContext**, const char*, int, AVDictionary**) {
    return AVERROR(EPERM);
}

int ReadSource(void* opaque, std::uint8_t* buffer, int size) {
    auto* source = static_cast<TSource*>(opaque);
    if (size <= 0) return AVERROR_EOF;
    if (source->limit.Interrupted()) return AVERROR_EXIT;
    const std::size_t n =
        source->file.ReadAt(source->position, reinterpret_cast<char*>(buffer), std::size_t(size));
    if (n == 0) return AVERROR_EOF;
    source->position += n;
    source->limit.silentBytes += n;
    return static_cast<int>(n);
}

std::int64_t SeekSource(void* opaque, std::int64_t offset, int whence) {
    auto* source = static_cast<TSource*>(opaque);
    const auto size = static_cast<std::int64_t>(source->file.size());
    std::int64_t target = 0;
    switch (whence & ~AVSEEK_FORCE) {
    case AVSEEK_SIZE:
        return size;
    case SEEK_SET:
        target = offset;
        break;
    case SEEK_CUR:
        target = static_cast<std::int64_t>(source->position) + offset;
        break;
    case SEEK_END:
        target = size + offset;
        break;
    default:
        return AVERROR(EINVAL);
    }
    if (target < 0) return AVERROR(EINVAL);
    source->position = static_cast<std::uint64_t>(target);
    return target;
}

void LayoutOf(const AVChannelLayout& given, AVChannelLayout& out) {
    if (given.order == AV_CHANNEL_ORDER_UNSPEC || av_channel_layout_check(&given) == 0)
        av_channel_layout_default(&out, given.nb_channels);
    else
        av_channel_layout_copy(&out, &given);
}

} // namespace

struct TFfmpegDecoder::TImpl {
    explicit TImpl(const std::function<bool()>* cancelled) { limit.cancelled = cancelled; }

    // Declared in the order of building; destroyed the other way round, so
    // the demuxer goes before the I/O it reads and the file behind it.
    std::string path;
    TWorkLimit limit;
    std::optional<TSource> source;
    std::unique_ptr<AVIOContext, TIoFree> io;
    std::unique_ptr<AVFormatContext, TFormatCloser> format;
    std::unique_ptr<AVCodecContext, TCodecFree> codec;
    std::unique_ptr<SwrContext, TSwrFree> swr;
    std::unique_ptr<AVFrame, TFrameFree> frame;
    std::unique_ptr<AVPacket, TPacketFree> packet;

    int streamIndex = -1;
    AVRational timeBase{1, 1000};
    std::int64_t streamStart = 0;
    TPcmFormat pcm;
    std::int64_t durationMs = 0;

    // The converter's input, rebuilt when the frames change it.
    int swrFormat = -1;
    int swrChannels = 0;

    std::vector<std::uint8_t> pending;
    std::size_t pendingAt = 0;
    std::int64_t frames = 0; // stream frame of the next byte handed out
    std::int64_t skipTo = 0; // frames before this one are dropped (a seek)
    bool anchor = false;     // the next frame's time stamp sets `frames`
    bool flushed = false;
    bool dry = false;
    bool failed = false; // gave up: no sound for too long (see TWorkLimit)

    bool Open(const std::string& name);
    bool Prepare(const AVFrame& f);
    // Decodes until some PCM is pending; false when the stream has run dry.
    bool DecodeMore();
    bool TakeFrame();
};

bool TFfmpegDecoder::TImpl::Open(const std::string& name) {
    TRegularFile file = TRegularFile::Open(name);
    if (!file.ok()) return false;
    limit.StartCall();
    source.emplace(std::move(file), limit);
    auto* buffer = static_cast<std::uint8_t*>(av_malloc(kIoBufferBytes));
    if (buffer == nullptr) return false;
    io.reset(
        avio_alloc_context(buffer, kIoBufferBytes, 0, &*source, &ReadSource, nullptr, &SeekSource));
    if (!io) {
        av_free(buffer);
        return false;
    }
    AVFormatContext* demuxer = avformat_alloc_context();
    if (demuxer == nullptr) return false;
    demuxer->pb = io.get();
    demuxer->flags |= AVFMT_FLAG_CUSTOM_IO;
    demuxer->io_open = &RefuseNestedOpen;
    demuxer->interrupt_callback = {&InterruptCallback, &limit};
    AVDictionary* options = nullptr;
    av_dict_set(&options, "format_whitelist", kAudioFormats, 0);
    av_dict_set(&options, "protocol_whitelist", "file", 0);
    // On failure avformat_open_input frees the context itself.
    const int opened = avformat_open_input(&demuxer, name.c_str(), nullptr, &options);
    av_dict_free(&options);
    if (opened < 0) return false;
    format.reset(demuxer);
    // A stall here leaves the I/O at its end for good, and the file gave no
    // sound for all that input: it is no sound file.
    if (avformat_find_stream_info(demuxer, nullptr) < 0 || limit.stalled) return false;

    const AVCodec* decoder = nullptr;
    streamIndex = av_find_best_stream(demuxer, AVMEDIA_TYPE_AUDIO, -1, -1, &decoder, 0);
    if (streamIndex < 0 || decoder == nullptr) return false;
    const AVStream* stream = demuxer->streams[streamIndex];
    codec.reset(avcodec_alloc_context3(decoder));
    if (!codec || avcodec_parameters_to_context(codec.get(), stream->codecpar) < 0) return false;
    codec->pkt_timebase = stream->time_base;
    codec->max_samples =
        std::max(4096, kMaxFrameSamples / std::max(1, codec->ch_layout.nb_channels));
    if (avcodec_open2(codec.get(), decoder, nullptr) < 0) return false;

    const int rate = codec->sample_rate;
    const int channels = codec->ch_layout.nb_channels;
    if (rate < kMinRate || rate > kMaxRate || channels < 1 || channels > kMaxSourceChannels)
        return false;
    pcm.SampleRate = rate;
    pcm.Channels = std::min(channels, 2);
    pcm.BitsPerSample = 16;
    pcm.BlockAlign = pcm.Channels * 2;
    timeBase = stream->time_base;
    streamStart = stream->start_time == AV_NOPTS_VALUE ? 0 : stream->start_time;

    std::int64_t ms = 0;
    if (demuxer->duration != AV_NOPTS_VALUE && demuxer->duration > 0)
        ms = av_rescale(demuxer->duration, 1000, AV_TIME_BASE);
    else if (stream->duration != AV_NOPTS_VALUE && stream->duration > 0)
        ms = av_rescale_q(stream->duration, stream->time_base, AVRational{1, 1000});
    durationMs = std::clamp<std::int64_t>(ms, 0, INT_MAX);

    frame.reset(av_frame_alloc());
    packet.reset(av_packet_alloc());
    if (!frame || !packet) return false;
    path = name;
    return true;
}

bool TFfmpegDecoder::TImpl::Prepare(const AVFrame& f) {
    if (swr && f.format == swrFormat && f.ch_layout.nb_channels == swrChannels) return true;
    swr.reset();
    AVChannelLayout in{}, out{};
    LayoutOf(f.ch_layout, in);
    av_channel_layout_default(&out, pcm.Channels);
    SwrContext* made = nullptr;
    const int set =
        swr_alloc_set_opts2(&made, &out, AV_SAMPLE_FMT_S16, pcm.SampleRate, &in,
                            static_cast<AVSampleFormat>(f.format), pcm.SampleRate, 0, nullptr);
    av_channel_layout_uninit(&in);
    av_channel_layout_uninit(&out);
    swr.reset(made);
    if (set < 0 || !swr || swr_init(swr.get()) < 0) {
        swr.reset();
        return false;
    }
    swrFormat = f.format;
    swrChannels = f.ch_layout.nb_channels;
    return true;
}

bool TFfmpegDecoder::TImpl::TakeFrame() {
    AVFrame& f = *frame;
    const int count = f.nb_samples;
    // A change of rate in the middle would play at the wrong speed: the
    // stream ends there.
    if (f.sample_rate != 0 && f.sample_rate != pcm.SampleRate) {
        dry = true;
        return false;
    }
    if (count <= 0 || f.ch_layout.nb_channels < 1 || !Prepare(f)) return false;
    if (anchor) {
        anchor = false;
        if (f.best_effort_timestamp != AV_NOPTS_VALUE) {
            const std::int64_t at = av_rescale_q(f.best_effort_timestamp - streamStart, timeBase,
                                                 AVRational{1, pcm.SampleRate});
            frames = std::clamp<std::int64_t>(at, 0, std::int64_t(1) << 40);
        }
    }
    const int room = swr_get_out_samples(swr.get(), count);
    if (room <= 0) return false;
    pending.resize(std::size_t(room) * std::size_t(pcm.BlockAlign));
    std::uint8_t* outPlanes[1] = {pending.data()};
    const int got = swr_convert(swr.get(), outPlanes, room,
                                const_cast<const std::uint8_t**>(f.extended_data), count);
    if (got <= 0) {
        pending.clear();
        return false;
    }
    pending.resize(std::size_t(got) * std::size_t(pcm.BlockAlign));
    pendingAt = 0;
    limit.Sound();
    if (skipTo > frames) {
        const std::int64_t drop = std::min<std::int64_t>(got, skipTo - frames);
        pendingAt = std::size_t(drop) * std::size_t(pcm.BlockAlign);
        frames += drop;
    }
    return pendingAt < pending.size();
}

bool TFfmpegDecoder::TImpl::DecodeMore() {
    if (dry || !codec) return false;
    for (int idle = 0; idle < kMaxIdlePackets;) {
        const int received = avcodec_receive_frame(codec.get(), frame.get());
        if (received == 0) {
            const bool some = TakeFrame();
            av_frame_unref(frame.get());
            if (some) return true;
            if (dry) return false;
            ++idle;
            continue;
        }
        if (received != AVERROR(EAGAIN) || flushed) break;
        if (av_read_frame(format.get(), packet.get()) < 0) {
            if (limit.stalled) break;
            // The end of the file (or an unreadable rest): drain the decoder.
            avcodec_send_packet(codec.get(), nullptr);
            flushed = true;
            continue;
        }
        if (packet->stream_index == streamIndex) {
            if (avcodec_send_packet(codec.get(), packet.get()) < 0) ++idle;
        } else {
            ++idle;
        }
        av_packet_unref(packet.get());
        if (limit.Interrupted()) break;
    }
    dry = true;
    failed = limit.stalled;
    return false;
}

TFfmpegDecoder::TFfmpegDecoder() : impl_(std::make_unique<TImpl>(&cancelled_)) {
    // Damaged files are expected; what went wrong is not the user's reading.
    av_log_set_level(AV_LOG_QUIET);
}

TFfmpegDecoder::~TFfmpegDecoder() = default;

bool TFfmpegDecoder::Open(const std::string& path) {
    Close();
    if (impl_->Open(path)) return true;
    Close();
    return false;
}

void TFfmpegDecoder::Close() {
    impl_ = std::make_unique<TImpl>(&cancelled_);
}

void TFfmpegDecoder::SetCancel(std::function<bool()> cancelled) {
    cancelled_ = std::move(cancelled);
}

bool TFfmpegDecoder::Failed() const {
    return impl_->failed;
}

TPcmFormat TFfmpegDecoder::Format() const {
    return impl_->pcm;
}

std::int64_t TFfmpegDecoder::DurationMs() const {
    return impl_->durationMs;
}

std::int64_t TFfmpegDecoder::CurrentMs() const {
    return impl_->frames * 1000 / impl_->pcm.SampleRate;
}

bool TFfmpegDecoder::Dry() const {
    return impl_->dry || !impl_->codec;
}

TDecodedPiece TFfmpegDecoder::Read(std::uint8_t* out, std::size_t size) {
    TImpl& d = *impl_;
    TDecodedPiece piece;
    d.limit.StartCall();
    // After a seek the first frame's time stamp says where the data starts.
    if (d.anchor && d.pendingAt >= d.pending.size()) d.DecodeMore();
    piece.StartMs = CurrentMs();
    const auto block = std::size_t(d.pcm.BlockAlign);
    const std::size_t wanted = size - size % block;
    while (piece.Bytes < wanted) {
        if (d.pendingAt < d.pending.size()) {
            const std::size_t n = std::min(wanted - piece.Bytes, d.pending.size() - d.pendingAt);
            std::memcpy(out + piece.Bytes, d.pending.data() + d.pendingAt, n);
            d.pendingAt += n;
            piece.Bytes += n;
            d.frames += std::int64_t(n / block);
            continue;
        }
        if (!d.DecodeMore()) break;
    }
    piece.EndMs = CurrentMs();
    return piece;
}

bool TFfmpegDecoder::Seek(std::int64_t ms) {
    TImpl& d = *impl_;
    if (!d.format || d.failed) return false;
    d.limit.StartCall();
    ms = std::max<std::int64_t>(0, ms);
    std::int64_t target = av_rescale(ms, AV_TIME_BASE, 1000);
    if (d.format->start_time != AV_NOPTS_VALUE) target += d.format->start_time;
    if (avformat_seek_file(d.format.get(), -1, INT64_MIN, target, target, 0) < 0) {
        // A demuxer that cannot seek: start over and decode up to the time.
        const std::string path = d.path;
        if (!Open(path)) return false;
    } else {
        avcodec_flush_buffers(d.codec.get());
        d.anchor = true;
    }
    TImpl& now = *impl_;
    now.pending.clear();
    now.pendingAt = 0;
    now.flushed = false;
    now.dry = false;
    now.frames = ms * now.pcm.SampleRate / 1000;
    now.skipTo = now.frames;
    if (!now.anchor) now.frames = 0;
    return true;
}

} // namespace dorvane
