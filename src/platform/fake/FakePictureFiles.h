#pragma once
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <optional>
#include <set>
#include <string>

#include "platform/Picture.h"

namespace movra {

// Picture files held in memory by path. A picture encoded here and written to disk by the program
// loads back from there too.
class FakePictureFiles : public PictureFiles {
public:
    std::optional<Picture> Load(const std::string& path) override {
        auto it = files.find(path);
        if (it != files.end()) return it->second;
        std::ifstream in(path, std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        return Decode(bytes);
    }
    // "FAKEPIC <format> <width> <height>\n" and the pixels as they are held.
    std::optional<std::string> Encode(const Picture& picture, const std::string& format) override {
        if (picture.Empty() || (format != "bmp" && format != "png" && format != "jpg")) return std::nullopt;
        std::string bytes = "FAKEPIC " + format + " " + std::to_string(picture.width) + " " +
                            std::to_string(picture.height) + "\n";
        bytes.append(reinterpret_cast<const char*>(picture.pixels.data()), picture.pixels.size() * 4);
        return bytes;
    }
    static std::optional<Picture> Decode(const std::string& bytes) {
        std::istringstream in(bytes);
        std::string magic, format;
        Picture picture;
        if (!(in >> magic >> format >> picture.width >> picture.height) || magic != "FAKEPIC" || picture.Empty())
            return std::nullopt;
        const std::size_t start = bytes.find('\n') + 1;
        const std::size_t count = static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height);
        if (bytes.size() - start != count * 4) return std::nullopt;
        picture.pixels.resize(count);
        std::memcpy(picture.pixels.data(), bytes.data() + start, count * 4);
        return picture;
    }
    bool Save(const Picture& picture, const std::string& path) override {
        if (unwritable.contains(path) || picture.Empty()) return false;
        files[path] = picture;
        return true;
    }
    std::map<std::string, Picture> files;
    std::set<std::string> unwritable;
};

}  // namespace movra
