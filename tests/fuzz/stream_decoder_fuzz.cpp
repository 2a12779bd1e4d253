// Sound files come from anywhere. Whatever the bytes, the decoder opens them
// or refuses them, decodes what it can in whole frames of the format it
// reported, ends instead of looping, and starts over after a seek to 0.
//
// No call may block: a watchdog aborts (a crash libFuzzer keeps) when one
// call into the decoder runs past kHangMs. A FIFO waits at kFifo so that an
// input naming it (an ffconcat script, a playlist) shows a decoder that
// opens other files as a hang. SIGALRM, libFuzzer's -timeout alarm, is kept
// off this thread: it would break a blocked open() with EINTR and hide the
// hang; the watchdog's thread takes it instead.
#include "music/backends/ffmpeg_decoder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

namespace {

using namespace dorvane;

// Bounds one input: the decoder must run dry or reach this much PCM.
constexpr int kMaxReads = 64;
// Past the decoder's own bound on a call without sound (4 s), with room
// for a slow sanitizer build.
constexpr std::int64_t kHangMs = 15000;
constexpr const char* kFifoFolder = "/tmp/dorvane-decoder-fuzz";
constexpr const char* kFifo = "/tmp/dorvane-decoder-fuzz/pipe";

std::int64_t NowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// When the call under way began; 0 between calls.
std::atomic<std::int64_t> g_callStart{0};

struct TCall {
    TCall() { g_callStart = NowMs(); }
    ~TCall() { g_callStart = 0; }
    TCall(const TCall&) = delete;
    TCall& operator=(const TCall&) = delete;
};

void Watch() {
    for (;;) {
        std::this_thread::sleep_for(std::chrono::milliseconds(250));
        const std::int64_t start = g_callStart.load();
        if (start != 0 && NowMs() - start > kHangMs) {
            std::fprintf(stderr, "decoder call blocked for more than %lld ms\n",
                         static_cast<long long>(kHangMs));
            std::abort();
        }
    }
}

void SetUpOnce() {
    static const bool done = [] {
        ::mkdir(kFifoFolder, 0700);
        ::mkfifo(kFifo, 0600);
        std::thread(Watch).detach(); // made before the mask: it takes SIGALRM
        sigset_t alarm;
        sigemptyset(&alarm);
        sigaddset(&alarm, SIGALRM);
        pthread_sigmask(SIG_BLOCK, &alarm, nullptr);
        return true;
    }();
    (void)done;
}

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
        const TDecodedPiece piece = [&] {
            const TCall call;
            return decoder.Read(out.data(), asked);
        }();
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
    SetUpOnce();
    TTempFile file(data, size);
    if (file.path.empty()) return 0;
    TFfmpegDecoder decoder;
    if (![&] {
            const TCall call;
            return decoder.Open(file.path);
        }())
        return 0;
    const TPcmFormat format = decoder.Format();
    if (format.Channels < 1 || format.Channels > 2 || format.BlockAlign != 2 * format.Channels ||
        format.SampleRate < 1000 || decoder.DurationMs() < 0)
        std::abort();
    DecodeSome(decoder);
    if ([&] {
            const TCall call;
            return decoder.Seek(0);
        }()) {
        if (decoder.CurrentMs() != 0 || decoder.Dry()) std::abort();
        DecodeSome(decoder);
    }
    return 0;
}
