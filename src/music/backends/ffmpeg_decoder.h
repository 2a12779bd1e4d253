// The stream path's decoder over FFmpeg: any file libavformat can demux and
// libavcodec decode, converted to interleaved signed 16-bit at the source
// rate with at most two channels. The file is read through our own I/O on a
// descriptor that was checked to be a regular file, so a FIFO or a device
// under a sound file's name never blocks the worker. Only sound formats are
// demuxed and no other file is ever opened (a concat script or a playlist
// under a sound file's name would name FIFOs and devices); every read asks
// the cancel, and a file that reads on without sound is given up (Failed).
#pragma once

#include "music/stream_ports.h"

#include <memory>

namespace dorvane {

class TFfmpegDecoder final : public IStreamDecoder {
public:
    TFfmpegDecoder();
    ~TFfmpegDecoder() override;
    TFfmpegDecoder(const TFfmpegDecoder&) = delete;
    TFfmpegDecoder& operator=(const TFfmpegDecoder&) = delete;

    bool Open(const std::string& path) override;
    void Close() override;
    TPcmFormat Format() const override;
    std::int64_t DurationMs() const override;
    TDecodedPiece Read(std::uint8_t* out, std::size_t size) override;
    std::int64_t CurrentMs() const override;
    bool Seek(std::int64_t ms) override;
    bool Dry() const override;
    bool Failed() const override;
    void SetCancel(std::function<bool()> cancelled) override;

private:
    struct TImpl;
    std::function<bool()> cancelled_; // before impl_, which points at it
    std::unique_ptr<TImpl> impl_;
};

} // namespace dorvane
