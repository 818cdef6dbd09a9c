// JPEG through libjpeg. Its errors unwind with longjmp, so the frames between
// setjmp and the library calls hold nothing with a destructor: the output
// vectors are sized before setjmp and only filled after it.
#include "platform/koral/KoralAbi.h"
#include "platform/koral/KoralCodecs.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <jpeglib.h>
#include <jerror.h>

namespace koral {
namespace {

struct ErrorTrap {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    bool truncated;  // the data ended before the picture did
};

[[noreturn]] void ErrorExit(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorTrap*>(info->err)->jump, 1);
}

// Warnings are not errors to the library; a premature end of the data is one
// to us.
void NoteWarning(j_common_ptr info, int level) {
    if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF) reinterpret_cast<ErrorTrap*>(info->err)->truncated = true;
}
void SilentOutput(j_common_ptr) {}

jpeg_error_mgr* InstallTrap(ErrorTrap& trap) {
    jpeg_error_mgr* manager = jpeg_std_error(&trap.manager);
    manager->error_exit = ErrorExit;
    manager->emit_message = NoteWarning;
    trap.truncated = false;
    manager->output_message = SilentOutput;
    return manager;
}

// Reads the header only; false on a damaged one.
bool ReadHeader(jpeg_decompress_struct& info, ErrorTrap& trap, const uint8_t* data, size_t size) {
    if (setjmp(trap.jump)) return false;
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) return false;
    return true;
}

bool ReadRows(jpeg_decompress_struct& info, ErrorTrap& trap, uint8_t* pixels, size_t pitch) {
    if (setjmp(trap.jump)) return false;
    info.out_color_space = JCS_EXT_BGRA;
    jpeg_start_decompress(&info);
    if (info.output_components != 4) return false;
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = pixels + pitch * info.output_scanline;
        if (jpeg_read_scanlines(&info, &row, 1) != 1) return false;
    }
    jpeg_finish_decompress(&info);
    return true;
}

bool WriteRows(jpeg_compress_struct& info, ErrorTrap& trap, const Pixels& in, int quality, unsigned char** buffer,
               unsigned long* bytes) {
    if (setjmp(trap.jump)) return false;
    jpeg_mem_dest(&info, buffer, bytes);
    info.image_width = static_cast<JDIMENSION>(in.width);
    info.image_height = static_cast<JDIMENSION>(in.height);
    info.input_components = 4;
    info.in_color_space = JCS_EXT_BGRX;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    const size_t pitch = static_cast<size_t>(in.width) * 4;
    const auto* pixels = reinterpret_cast<const uint8_t*>(in.bgra.data());
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<uint8_t*>(pixels + pitch * info.next_scanline);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    return true;
}

}  // namespace

bool DecodeJpeg(const uint8_t* data, size_t size, Pixels& out) {
    ErrorTrap trap;
    jpeg_decompress_struct info;
    info.err = InstallTrap(trap);
    jpeg_create_decompress(&info);
    bool ok = ReadHeader(info, trap, data, size);
    const J_COLOR_SPACE space = info.jpeg_color_space;
    ok = ok && (space == JCS_GRAYSCALE || space == JCS_YCbCr || space == JCS_RGB);
    ok = ok && AllocatePixels(out, info.image_width, info.image_height);
    if (ok) {
        out.bits = info.num_components * 8;
        ok = ReadRows(info, trap, reinterpret_cast<uint8_t*>(out.bgra.data()), static_cast<size_t>(out.width) * 4) &&
             !trap.truncated;
    }
    jpeg_destroy_decompress(&info);
    return ok;
}

bool EncodeJpeg(const Pixels& in, int quality, std::vector<uint8_t>& out) {
    if (!KoralSizeAcceptable(in.width, in.height) || quality < 1 || quality > 100) return false;
    ErrorTrap trap;
    jpeg_compress_struct info;
    info.err = InstallTrap(trap);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long bytes = 0;
    const bool ok = WriteRows(info, trap, in, quality, &buffer, &bytes);
    jpeg_destroy_compress(&info);
    if (ok) out.assign(buffer, buffer + bytes);
    std::free(buffer);
    return ok;
}

}  // namespace koral
