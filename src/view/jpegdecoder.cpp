#include "jpegdecoder.h"

// jpeglib.h needs the standard types declared first.
#include <csetjmp>
#include <cstdio>

#include <jerror.h>
#include <jpeglib.h>

namespace dorvane {

namespace {

// Bigger pictures are refused rather than decoded: a few bytes of header can
// claim 65500 x 65500 pixels, and progressive files keep the whole image's
// coefficients in memory.
constexpr long long kMaxSourcePixels = 60'000'000;
constexpr long long kMaxOutputPixels = 16'000'000;
constexpr long kMaxDecoderMemory = 512L * 1024 * 1024;

struct TJpegError {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

[[noreturn]] void ErrorExit(j_common_ptr info) {
    std::longjmp(reinterpret_cast<TJpegError*>(info->err)->jump, 1);
}

// Warnings mean damaged data. A truncated file would otherwise be padded
// with grey and shown as if it were whole; only stray bytes between markers,
// common in camera files, are let through.
void EmitMessage(j_common_ptr info, int level) {
    if (level < 0 && info->err->msg_code != JWRN_EXTRANEOUS_DATA) ErrorExit(info);
}

void OutputMessage(j_common_ptr) {}

int ScaleDenominator(unsigned width, unsigned height, QSize cover) {
    if (cover.isEmpty()) return 1;
    for (const unsigned denom : {8u, 4u, 2u}) {
        if ((width + denom - 1) / denom >= unsigned(cover.width()) &&
            (height + denom - 1) / denom >= unsigned(cover.height()))
            return int(denom);
    }
    return 1;
}

// Adobe writes CMYK inverted; anything else is taken as plain CMYK.
void CmykToRgb(const JSAMPLE* in, uchar* out, unsigned width, bool inverted) {
    for (unsigned x = 0; x < width; ++x, in += 4, out += 3) {
        const int c = inverted ? in[0] : 255 - in[0];
        const int m = inverted ? in[1] : 255 - in[1];
        const int y = inverted ? in[2] : 255 - in[2];
        const int k = inverted ? in[3] : 255 - in[3];
        out[0] = uchar(c * k / 255);
        out[1] = uchar(m * k / 255);
        out[2] = uchar(y * k / 255);
    }
}

struct TDecodeOutput {
    QImage image;
    QImage cmykRow; // one scanline of four components
};

// Everything that can long-jump lives in this frame, which holds no C++
// object with a destructor; results go to the caller's `out`.
bool DecodeInto(const unsigned char* data, std::size_t size, QSize cover, TDecodeOutput* out) {
    jpeg_decompress_struct info;
    TJpegError error;
    info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = ErrorExit;
    error.manager.emit_message = EmitMessage;
    error.manager.output_message = OutputMessage;
    if (setjmp(error.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    info.mem->max_memory_to_use = kMaxDecoderMemory;
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK ||
        static_cast<long long>(info.image_width) * info.image_height > kMaxSourcePixels) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    info.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    info.scale_num = 1;
    info.scale_denom = unsigned(ScaleDenominator(info.image_width, info.image_height, cover));
    jpeg_calc_output_dimensions(&info);
    if (static_cast<long long>(info.output_width) * info.output_height > kMaxOutputPixels) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_start_decompress(&info);
    out->image = QImage(int(info.output_width), int(info.output_height), QImage::Format_RGB888);
    if (cmyk) out->cmykRow = QImage(int(info.output_width) * 4, 1, QImage::Format_Grayscale8);
    if (out->image.isNull() || (cmyk && out->cmykRow.isNull())) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    while (info.output_scanline < info.output_height) {
        uchar* target = out->image.scanLine(int(info.output_scanline));
        JSAMPROW row = cmyk ? out->cmykRow.scanLine(0) : target;
        if (jpeg_read_scanlines(&info, &row, 1) != 1) {
            jpeg_destroy_decompress(&info);
            return false;
        }
        if (cmyk) CmykToRgb(row, target, info.output_width, info.saw_Adobe_marker);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

} // namespace

bool LooksLikeJpeg(const unsigned char* data, std::size_t size) {
    return size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF;
}

QImage DecodeJpeg(const unsigned char* data, std::size_t size, QSize cover) {
    if (data == nullptr || !LooksLikeJpeg(data, size)) return {};
    TDecodeOutput out;
    if (!DecodeInto(data, size, cover, &out)) return {};
    return out.image;
}

} // namespace dorvane
