#include "io/png_image.h"

#include <png.h>

#include <csetjmp>

namespace vortel {

namespace {

void appendToVector(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void noFlush(png_structp) {}

}  // namespace

bool encodePng(int width, int height, const std::vector<uint8_t>& rgbTopDown, std::vector<uint8_t>* png,
               std::string* why) {
    if (width <= 0 || height <= 0 || rgbTopDown.size() != static_cast<size_t>(width) * height * 3) {
        if (why) *why = "no image to encode";
        return false;
    }
    png_structp writer = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = writer ? png_create_info_struct(writer) : nullptr;
    if (!info) {
        png_destroy_write_struct(&writer, nullptr);
        if (why) *why = "libpng could not start";
        return false;
    }
    std::vector<png_bytep> rows(static_cast<size_t>(height));
    for (int y = 0; y < height; ++y)
        rows[static_cast<size_t>(y)] = const_cast<png_bytep>(rgbTopDown.data()) + static_cast<size_t>(y) * width * 3;
    png->clear();
    if (setjmp(png_jmpbuf(writer))) {
        png_destroy_write_struct(&writer, &info);
        if (why) *why = "libpng could not encode the image";
        return false;
    }
    png_set_write_fn(writer, png, appendToVector, noFlush);
    png_set_IHDR(writer, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_rows(writer, info, rows.data());
    png_write_png(writer, info, PNG_TRANSFORM_IDENTITY, nullptr);
    png_destroy_write_struct(&writer, &info);
    return true;
}

}  // namespace vortel
