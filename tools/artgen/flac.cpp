// A small FLAC writer for the shipped music, so that the decoder path has a
// compressed piece out of the box without the generator linking an encoder
// library. Mono 16-bit only: blocks of a fixed size, each one subframe with
// the best of the five fixed predictors and Rice-coded residuals split into
// the cheapest number of partitions, or the samples verbatim when that is
// smaller. The output depends on the samples alone.
#include "artgen.h"

#include <QCryptographicHash>

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>

namespace artgen {
namespace {

constexpr int kBlock = 4096;
constexpr int kBits = 16;
constexpr int kMaxOrder = 4;
constexpr int kMaxPartitionOrder = 6;
constexpr int kMaxRiceParameter = 14; // 15 is the escape code, not used here

// Bits written most significant first.
class TBitWriter {
public:
    void Put(std::uint64_t value, int bits) {
        for (int i = bits - 1; i >= 0; --i)
            PutBit(unsigned(value >> i) & 1U);
    }
    void PutUnary(std::uint32_t zeros) {
        for (std::uint32_t i = 0; i < zeros; ++i)
            PutBit(0);
        PutBit(1);
    }
    void Align() {
        while (used_ != 0)
            PutBit(0);
    }
    std::vector<std::uint8_t>& Bytes() { return bytes_; }

private:
    void PutBit(unsigned bit) {
        if (used_ == 0) bytes_.push_back(0);
        bytes_.back() = std::uint8_t(bytes_.back() | (bit << (7 - used_)));
        used_ = (used_ + 1) % 8;
    }
    std::vector<std::uint8_t> bytes_;
    int used_ = 0;
};

std::uint8_t Crc8(const std::uint8_t* data, std::size_t size) {
    unsigned crc = 0;
    for (std::size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int b = 0; b < 8; ++b)
            crc = (crc & 0x80) ? ((crc << 1) ^ 0x07) & 0xFF : (crc << 1) & 0xFF;
    }
    return std::uint8_t(crc);
}

std::uint16_t Crc16(const std::uint8_t* data, std::size_t size) {
    unsigned crc = 0;
    for (std::size_t i = 0; i < size; ++i) {
        crc ^= unsigned(data[i]) << 8;
        for (int b = 0; b < 8; ++b)
            crc = (crc & 0x8000) ? ((crc << 1) ^ 0x8005) & 0xFFFF : (crc << 1) & 0xFFFF;
    }
    return std::uint16_t(crc);
}

// The frame number in the "UTF-8" coding of frame headers.
void PutFrameNumber(TBitWriter& out, std::uint32_t n) {
    if (n < 0x80) {
        out.Put(n, 8);
        return;
    }
    int extra = 1;
    while (extra < 6 && n >= (1U << (6 + 5 * extra)))
        ++extra;
    const unsigned lead = (0xFF00U >> (extra + 1)) & 0xFF; // extra + 1 ones, then a zero
    out.Put(lead | (n >> (6 * extra)), 8);
    for (int i = extra - 1; i >= 0; --i)
        out.Put(0x80 | ((n >> (6 * i)) & 0x3F), 8);
}

std::vector<std::int32_t> Residuals(const std::int16_t* x, int size, int order) {
    std::vector<std::int32_t> r;
    r.reserve(std::size_t(std::max(0, size - order)));
    for (int i = order; i < size; ++i) {
        const std::int32_t a = x[i];
        switch (order) {
        case 0:
            r.push_back(a);
            break;
        case 1:
            r.push_back(a - x[i - 1]);
            break;
        case 2:
            r.push_back(a - 2 * x[i - 1] + x[i - 2]);
            break;
        case 3:
            r.push_back(a - 3 * x[i - 1] + 3 * x[i - 2] - x[i - 3]);
            break;
        default:
            r.push_back(a - 4 * x[i - 1] + 6 * x[i - 2] - 4 * x[i - 3] + x[i - 4]);
            break;
        }
    }
    return r;
}

std::uint32_t Folded(std::int32_t v) {
    return v >= 0 ? std::uint32_t(v) << 1 : (std::uint32_t(-(v + 1)) << 1) | 1U;
}

struct TRicePlan {
    int partitionOrder = 0;
    std::vector<int> parameters;
    std::uint64_t bits = std::numeric_limits<std::uint64_t>::max();
};

// The cheapest partitioning of the residuals of one block, counting the
// four bits of each partition's parameter.
TRicePlan PlanRice(const std::vector<std::int32_t>& residuals, int blockSize, int order) {
    TRicePlan best;
    for (int p = 0; p <= kMaxPartitionOrder; ++p) {
        if (blockSize % (1 << p) != 0 || (blockSize >> p) <= order) break;
        TRicePlan plan;
        plan.partitionOrder = p;
        plan.bits = 0;
        std::size_t at = 0;
        for (int part = 0; part < (1 << p); ++part) {
            const std::size_t count = std::size_t((blockSize >> p) - (part == 0 ? order : 0));
            std::array<std::uint64_t, kMaxRiceParameter + 1> cost{};
            for (std::size_t i = at; i < at + count; ++i) {
                const std::uint32_t u = Folded(residuals[i]);
                for (int k = 0; k <= kMaxRiceParameter; ++k)
                    cost[std::size_t(k)] += (u >> k) + 1 + std::uint64_t(k);
            }
            at += count;
            const auto cheapest = std::min_element(cost.begin(), cost.end());
            plan.parameters.push_back(int(cheapest - cost.begin()));
            plan.bits += 4 + *cheapest;
        }
        if (plan.bits < best.bits) best = std::move(plan);
    }
    return best;
}

void PutSubframe(TBitWriter& out, const std::int16_t* x, int size) {
    int bestOrder = -1;
    TRicePlan bestPlan;
    std::vector<std::int32_t> bestResiduals;
    std::uint64_t bestBits = std::uint64_t(size) * kBits; // verbatim
    for (int order = 0; order <= std::min(kMaxOrder, size - 1); ++order) {
        std::vector<std::int32_t> r = Residuals(x, size, order);
        TRicePlan plan = PlanRice(r, size, order);
        if (plan.parameters.empty()) continue;
        const std::uint64_t bits = std::uint64_t(order) * kBits + 6 + plan.bits;
        if (bits < bestBits) {
            bestBits = bits;
            bestOrder = order;
            bestPlan = std::move(plan);
            bestResiduals = std::move(r);
        }
    }
    out.Put(0, 1); // zero bit
    if (bestOrder < 0) {
        out.Put(0b000001, 6); // verbatim
        out.Put(0, 1);        // no wasted bits
        for (int i = 0; i < size; ++i)
            out.Put(std::uint16_t(x[i]), kBits);
        return;
    }
    out.Put(0b001000 | unsigned(bestOrder), 6); // fixed predictor
    out.Put(0, 1);
    for (int i = 0; i < bestOrder; ++i)
        out.Put(std::uint16_t(x[i]), kBits); // warm-up samples
    out.Put(0, 2);                           // Rice with 4-bit parameters
    out.Put(unsigned(bestPlan.partitionOrder), 4);
    std::size_t at = 0;
    for (std::size_t part = 0; part < bestPlan.parameters.size(); ++part) {
        const int k = bestPlan.parameters[part];
        out.Put(unsigned(k), 4);
        const std::size_t count =
            std::size_t((size >> bestPlan.partitionOrder) - (part == 0 ? bestOrder : 0));
        for (std::size_t i = at; i < at + count; ++i) {
            const std::uint32_t u = Folded(bestResiduals[i]);
            out.PutUnary(u >> k);
            out.Put(u & ((1U << k) - 1), k);
        }
        at += count;
    }
}

unsigned SampleRateCode(int rate) {
    switch (rate) {
    case 8000:
        return 0b0100;
    case 16000:
        return 0b0101;
    case 22050:
        return 0b0110;
    case 24000:
        return 0b0111;
    case 32000:
        return 0b1000;
    case 44100:
        return 0b1001;
    case 48000:
        return 0b1010;
    case 96000:
        return 0b1011;
    default:
        return 0b0000; // from STREAMINFO
    }
}

std::vector<std::uint8_t> Frame(const std::int16_t* x, int size, std::uint32_t number, int rate) {
    TBitWriter out;
    out.Put(0b11111111111110, 14); // sync
    out.Put(0, 1);                 // reserved
    out.Put(0, 1);                 // fixed block size
    out.Put(size == kBlock ? 0b1100 : 0b0111, 4);
    out.Put(SampleRateCode(rate), 4);
    out.Put(0b0000, 4); // mono
    out.Put(0b100, 3);  // 16 bits a sample
    out.Put(0, 1);
    PutFrameNumber(out, number);
    if (size != kBlock) out.Put(unsigned(size - 1), 16);
    out.Put(Crc8(out.Bytes().data(), out.Bytes().size()), 8);
    PutSubframe(out, x, size);
    out.Align();
    out.Put(Crc16(out.Bytes().data(), out.Bytes().size()), 16);
    return std::move(out.Bytes());
}

} // namespace

std::vector<std::uint8_t> MakeFlac(const std::vector<std::int16_t>& samples, int rate) {
    std::vector<std::uint8_t> frames;
    std::uint32_t minFrame = std::numeric_limits<std::uint32_t>::max();
    std::uint32_t maxFrame = 0;
    std::uint32_t number = 0;
    for (std::size_t at = 0; at < samples.size(); at += kBlock, ++number) {
        const int size = int(std::min<std::size_t>(kBlock, samples.size() - at));
        const std::vector<std::uint8_t> frame = Frame(samples.data() + at, size, number, rate);
        minFrame = std::min(minFrame, std::uint32_t(frame.size()));
        maxFrame = std::max(maxFrame, std::uint32_t(frame.size()));
        frames.insert(frames.end(), frame.begin(), frame.end());
    }
    if (frames.empty()) minFrame = 0;

    QByteArray pcm; // the MD5 is over the samples as little-endian bytes
    pcm.reserve(qsizetype(samples.size() * 2));
    for (const std::int16_t s : samples) {
        pcm.append(char(std::uint16_t(s) & 0xFF));
        pcm.append(char(std::uint16_t(s) >> 8));
    }
    const QByteArray md5 = QCryptographicHash::hash(pcm, QCryptographicHash::Md5);

    TBitWriter out;
    for (const char c : {'f', 'L', 'a', 'C'})
        out.Put(std::uint8_t(c), 8);
    out.Put(1, 1); // the last metadata block
    out.Put(0, 7); // STREAMINFO
    out.Put(34, 24);
    const bool shortOnly = samples.size() < std::size_t(kBlock);
    const auto block = shortOnly ? unsigned(samples.size()) : unsigned(kBlock);
    out.Put(block, 16); // smallest block
    out.Put(block, 16); // largest block
    out.Put(minFrame, 24);
    out.Put(maxFrame, 24);
    out.Put(unsigned(rate), 20);
    out.Put(0, 3); // one channel
    out.Put(kBits - 1, 5);
    out.Put(samples.size(), 36);
    for (const char c : md5)
        out.Put(std::uint8_t(c), 8);
    std::vector<std::uint8_t> file = std::move(out.Bytes());
    file.insert(file.end(), frames.begin(), frames.end());
    return file;
}

} // namespace artgen
