#pragma once
#include <map>
#include <optional>
#include <set>
#include <string>

#include "platform/Picture.h"

namespace movra {

// Picture files held in memory by path.
class FakePictureFiles : public PictureFiles {
public:
    std::optional<Picture> Load(const std::string& path) override {
        auto it = files.find(path);
        if (it == files.end()) return std::nullopt;
        return it->second;
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
