// The system texts the about window reads: /proc/meminfo and os-release.
#include "core/environment.h"
#include "core/memory_status.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray text(reinterpret_cast<const char*>(data), qsizetype(size));
    if (const auto status = dorvane::ParseMemInfo(text)) {
        if (status->TotalPhysical < 0 || status->AvailablePhysical < 0 || status->VirtualInUse < 0)
            __builtin_trap();
    }
    (void)dorvane::OsReleasePrettyName(text);
    return 0;
}
