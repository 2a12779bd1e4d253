// Shared by the tag readers' tests: reading built bytes, and a source that
// records what a reader asked of it.
#pragma once

#include "music/mp3_info.h"
#include "music/tag_source.h"
#include "support/tag_builder.h"

#include <QString>

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <utility>
#include <vector>

namespace dorvane::test {

// The largest single piece a reader asked for, and how many bytes in all.
class TRecordingSource final : public TTagSource {
public:
    explicit TRecordingSource(TTagSource& inner) : inner_(inner) {}
    std::uint64_t size() const override { return inner_.size(); }
    std::optional<TByteView> bytes(std::uint64_t offset, std::size_t n) override {
        largest = std::max(largest, n);
        total += n;
        requests.emplace_back(offset, n);
        return inner_.bytes(offset, n);
    }
    std::size_t largest = 0;
    std::uint64_t total = 0;
    std::vector<std::pair<std::uint64_t, std::size_t>> requests;

private:
    TTagSource& inner_;
};

struct TMp3Result {
    TID3v1Info v1;
    TID3v2Info v2;
    MpegInfo mpeg;
};

inline TMp3Result ReadMp3Bytes(const Bytes& bytes, TagDetail detail = kDetailEverything) {
    TMemoryTagSource source(bytes);
    TMp3Result result;
    ReadMp3Info(source, result.v1, result.v2, &result.mpeg, detail);
    return result;
}

} // namespace dorvane::test

// Failures print texts, not QString's bytes.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE
