#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace movra {

// A raster picture held by the program: loaded from a BMP/JPG file, painted on a surface,
// or taken from a surface to be saved. Pixels are 0xAARRGGBB, row after row from the top.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    bool Empty() const { return width <= 0 || height <= 0; }
    std::uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// Reading and writing picture files (BMP, JPG, PNG by the file's own format).
class PictureFiles {
public:
    virtual ~PictureFiles() = default;
    // Empty when the file is missing or not a picture.
    virtual std::optional<Picture> Load(const std::string& path) = 0;
    // The format follows the extension (".bmp", ".png", ".jpg"); false when it cannot be written.
    virtual bool Save(const Picture& picture, const std::string& path) = 0;
    // The bytes of a picture file in `format` ("bmp", "png", "jpg"), for the caller to write
    // safely itself; empty for an empty picture or a format not known.
    virtual std::optional<std::string> Encode(const Picture& picture, const std::string& format) = 0;
};

}  // namespace movra
