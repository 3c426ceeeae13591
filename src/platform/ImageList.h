#pragma once
#include <vector>

#include "platform/Color.h"
#include "platform/Picture.h"

namespace movra {

// The pictures that toolbar buttons and image-combo items show, by 1-based index.
struct ImageList {
    std::vector<Picture> images;

    int Count() const { return static_cast<int>(images.size()); }
    // The picture of an index, or null outside the list (index 0 means no picture).
    const Picture* Image(int index) const {
        if (index < 1 || index > Count()) return nullptr;
        return &images[static_cast<size_t>(index - 1)];
    }
    void Add(Picture picture) { images.push_back(std::move(picture)); }
    // A square of one colour, as colour choosers show.
    void AddSwatch(Rgb color, int size = 16) {
        Picture picture;
        picture.width = size;
        picture.height = size;
        std::uint32_t argb = 0xFF000000u | (static_cast<std::uint32_t>(RedOf(color)) << 16) |
                             (static_cast<std::uint32_t>(GreenOf(color)) << 8) |
                             static_cast<std::uint32_t>(BlueOf(color));
        picture.pixels.assign(static_cast<size_t>(size) * size, argb);
        images.push_back(std::move(picture));
    }
    void Clear() { images.clear(); }
};

}  // namespace movra
