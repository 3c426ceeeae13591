#pragma once
// Where a test leaves a picture or a document for a person to look at: the folder that
// MOVRA_TEST_PICTURES names, to keep them, or else a temporary folder of the test program's own,
// removed when it ends, so that test runs side by side never write over each other's files.
#include <QString>
#include <QTemporaryDir>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace movra {

inline std::string LookAtPath(const std::string& name) {
    static const std::string folder = [] {
        const char* kept = std::getenv("MOVRA_TEST_PICTURES");
        if (kept && *kept) {
            std::filesystem::create_directories(kept);
            return std::string(kept);
        }
        static QTemporaryDir own;
        return own.path().toStdString();
    }();
    return folder + "/" + name;
}

inline QString LookAt(const std::string& name) { return QString::fromStdString(LookAtPath(name)); }

}  // namespace movra
