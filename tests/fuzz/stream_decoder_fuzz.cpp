// Sound files come from anywhere. Whatever the bytes, the decoder opens them
// or refuses them, decodes what it can in whole frames of the format it
// reported, ends instead of looping, and starts over after a seek to 0.
#include "music/backends/ffmpeg_decoder.h"

#include <unistd.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

using namespace dorvane;

// Bounds one input: the decoder must run dry or reach this much PCM.
constexpr int kMaxReads = 64;

struct TTempFile {
    TTempFile(const std::uint8_t* data, std::size_t size) {
        std::string pattern = "/tmp/dorvane-fuzz-XXXXXX";
        const int fd = mkstemp(pattern.data());
        if (fd < 0) return;
        path = pattern;
        std::size_t done = 0;
        while (done < size) {
            const ssize_t n = write(fd, data + done, size - done);
            if (n <= 0) break;
            done += std::size_t(n);
        }
        close(fd);
    }
    ~TTempFile() {
        if (!path.empty()) unlink(path.c_str());
    }
    std::string path;
};

void DecodeSome(TFfmpegDecoder& decoder) {
    const TPcmFormat format = decoder.Format();
    static std::array<std::uint8_t, 16384> out;
    std::int64_t last = decoder.CurrentMs();
    // An odd size: the decoder fills whole frames only.
    const std::size_t asked = out.size() - 2;
    const std::size_t whole = asked - asked % std::size_t(format.BlockAlign);
    for (int i = 0; i < kMaxReads; ++i) {
        const TDecodedPiece piece = decoder.Read(out.data(), asked);
        if (piece.Bytes % std::size_t(format.BlockAlign) != 0 || piece.Bytes > whole) std::abort();
        if (piece.StartMs > piece.EndMs || piece.EndMs != decoder.CurrentMs()) std::abort();
        if (piece.EndMs < last) std::abort();
        last = piece.EndMs;
        if (piece.Bytes < whole) {
            if (!decoder.Dry()) std::abort();
            return;
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TTempFile file(data, size);
    if (file.path.empty()) return 0;
    TFfmpegDecoder decoder;
    if (!decoder.Open(file.path)) return 0;
    const TPcmFormat format = decoder.Format();
    if (format.Channels < 1 || format.Channels > 2 || format.BlockAlign != 2 * format.Channels ||
        format.SampleRate < 1000 || decoder.DurationMs() < 0)
        std::abort();
    DecodeSome(decoder);
    if (decoder.Seek(0)) {
        if (decoder.CurrentMs() != 0 || decoder.Dry()) std::abort();
        DecodeSome(decoder);
    }
    return 0;
}
