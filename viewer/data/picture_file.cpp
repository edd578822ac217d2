#include "data/picture_file.h"

#include <png.h>

#include <cstdlib>
#include <memory>

#include "common/pending_file.h"

namespace orvex {

std::string pictureFileName(std::time_t when)
{
    std::tm local{};
    localtime_r(&when, &local);
    char name[64];
    std::strftime(name, sizeof name, "orvex-%Y%m%d-%H%M%S.png", &local);
    return name;
}

bool writePictureFile(const std::string& path, int width, int height, const unsigned char* rgb, bool bottomUp,
                      std::string& error)
{
    if (width < 1 || height < 1 || width > PNG_USER_WIDTH_MAX || height > PNG_USER_HEIGHT_MAX) {
        error = "no picture of that size";
        return false;
    }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGB;
    const png_int_32 stride = (bottomUp ? -3 : 3) * width;
    // The encoded size first, then the encoding into memory of that size.
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&image, nullptr, &size, 0, rgb, stride, nullptr)) {
        error = image.message;
        return false;
    }
    const auto encoded = std::make_unique_for_overwrite<unsigned char[]>(size);
    if (!png_image_write_to_memory(&image, encoded.get(), &size, 0, rgb, stride, nullptr)) {
        error = image.message;
        return false;
    }
    common::PendingFile file(path);
    if (!file.isOpen() || !file.write(encoded.get(), size) || !file.finish() || !file.commit()) {
        error = file.error();
        return false;
    }
    return true;
}

} // namespace orvex
