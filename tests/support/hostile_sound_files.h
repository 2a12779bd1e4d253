// Files under a sound file's name that are none: scripts that make FFmpeg
// open other files, and a track followed by gigabytes of zeros (a sparse
// file, as a preallocated download leaves it). With the resident memory of a
// process, which is what such files make grow.
#pragma once

#include "support/resource_bounds.h"

#include <fcntl.h>
#include <sys/types.h>
#include <unistd.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>

namespace dorvane::test {

inline bool WriteText(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    return bool(out);
}

// An ffconcat script: FFmpeg's concat demuxer opens every file it names (in
// its default safe mode a plain name beside the script, such as "pipe").
inline std::string ConcatScript(const std::string& named) {
    return "ffconcat version 1.0\nfile '" + named + "'\n";
}

// An HLS playlist of one segment, the named file.
inline std::string HlsPlaylist(const std::string& named) {
    return "#EXTM3U\n#EXT-X-VERSION:3\n#EXT-X-TARGETDURATION:2\n#EXT-X-MEDIA-SEQUENCE:0\n"
           "#EXTINF:1.0,\n" +
           named + "\n#EXT-X-ENDLIST\n";
}

// The track's bytes followed by zeros up to size bytes, which take no room
// on the disk.
inline bool WriteSparseTrack(const std::string& path, const std::string& track,
                             std::uint64_t size) {
    std::ifstream in(track, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.empty() || !WriteText(path, bytes)) return false;
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool sized = ::ftruncate(fd, off_t(size)) == 0;
    ::close(fd);
    return sized;
}

// VmRSS of the process in KiB ("self" for this one); -1 when unreadable.
inline long ResidentKb(const std::string& pid = "self") {
    std::ifstream status("/proc/" + pid + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    return -1;
}

} // namespace dorvane::test
