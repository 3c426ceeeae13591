// The map files as a whole process meets them, for bench/map_files_side_by_side:
//   map_file_process make N path     writes a map of N records (.jdx or .wtw by the extension)
//   map_file_process open path       reads the file into a fresh program state and leaves
//   map_file_process warm path       reads it, then reads it again 7 times by turns with a plain
//                                    read() of the file, and prints the milliseconds of both,
//                                    min and median: ours_min ours_med plain_min plain_med
//   map_file_process write path out  reads it, then prints the milliseconds of writing it to out
// The map: 40 layers (a layer per 25,000 records beyond a million), texts mostly short numbers,
// every tenth a Chinese annotation in a Chinese font, the others in a Latin font.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

#include "App.h"
#include "document/JdxFile.h"
#include "document/Layers.h"
#include "document/WtwFile.h"
#include "platform/fake/FakePlatform.h"
#include "shell/stForm1.h"

namespace movra {
namespace {

// The program and work folders are the map's own folder: nothing is written there.
struct Program {
    explicit Program(const std::string& map)
        : platform(FolderOf(map), FolderOf(map)), app(platform), form1(app) {}
    static std::string FolderOf(const std::string& path) {
        const std::string folder = std::filesystem::path(path).parent_path().string();
        return folder.empty() ? "." : folder;
    }
    FakePlatform platform;
    App app;
    stForm1 form1;
};

bool IsWtw(const std::string& path) { return path.size() > 4 && path.compare(path.size() - 4, 4, ".wtw") == 0; }

void Read(App& app, const std::string& path) { (IsWtw(path) ? ReadWtwFile : ReadJdxFile)(app, path); }
void Write(App& app, const std::string& path) { (IsWtw(path) ? WriteWtwFile : WriteJdxFile)(app, path); }

void Fill(App& app, long records) {
    const int layers = records > 1000000 ? static_cast<int>((records + 24999) / 25000) : 40;
    const int perLayer = static_cast<int>(records / layers);
    auto& store = app.store;
    store.LayerCount = static_cast<std::uint8_t>(layers);
    store.LayerCapacity = static_cast<std::int16_t>(perLayer + 1000);
    store.NextLayerIndex = static_cast<std::uint8_t>(layers + 1);
    新建层(app);
    for (int layer = 1; layer <= layers; ++layer) {
        store.LayerNames[static_cast<std::size_t>(layer)] = "层" + std::to_string(layer);
        store.LayerOnFlag[static_cast<std::size_t>(layer)] = -1;
        for (int i = 0; i < perLayer; ++i) {
            MapRecord& r = store.At(layer, i);
            r.RecordType = static_cast<std::uint8_t>(1 + i % 60);
            r.RecordColor = 0x00102030 + i;
            r.RecordPen = static_cast<std::uint8_t>(i % 12);
            r.RecordX1 = 3412345.125 + i;
            r.RecordY1 = 512345.5 + layer;
            r.RecordX2 = r.RecordX1 + 3.5;
            r.RecordY2 = r.RecordY1 - 2.25;
            r.RecordZ1 = static_cast<float>(i % 100);
            if (i % 10 == 0) {
                r.RecordText = "居民地注记" + std::to_string(i);
                r.RecordFont = "宋体";
            } else {
                r.RecordText = std::to_string(i);
                r.RecordFont = "Arial";
            }
        }
        store.Count(layer) = perLayer - 1;
    }
}

double Ms(std::chrono::steady_clock::time_point from) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - from).count();
}

double PlainReadMs(const std::string& path) {
    const auto start = std::chrono::steady_clock::now();
    const int fd = ::open(path.c_str(), O_RDONLY);
    std::vector<char> buffer(1 << 20);
    while (::read(fd, buffer.data(), buffer.size()) > 0) {
    }
    ::close(fd);
    return Ms(start);
}

}  // namespace
}  // namespace movra

int main(int argc, char** argv) {
    using namespace movra;
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "make" && argc == 4) {
        auto p = std::make_unique<Program>(argv[3]);
        Fill(p->app, std::atol(argv[2]));
        Write(p->app, argv[3]);
        std::_Exit(0);
    }
    if (command == "open" && argc == 3) {
        // As the program does when it leaves: its state is let go.
        auto p = std::make_unique<Program>(argv[2]);
        Read(p->app, argv[2]);
        const bool read = p->app.current.CurrentFilePath == argv[2];
        p.reset();
        return read ? 0 : 1;
    }
    if (command == "warm" && argc == 3) {
        auto p = std::make_unique<Program>(argv[2]);
        Read(p->app, argv[2]);
        // By turns, so that a busy machine slows both alike.
        std::vector<double> ours, plain;
        for (int i = 0; i < 7; ++i) {
            const auto start = std::chrono::steady_clock::now();
            Read(p->app, argv[2]);
            ours.push_back(Ms(start));
            plain.push_back(PlainReadMs(argv[2]));
        }
        std::sort(ours.begin(), ours.end());
        std::sort(plain.begin(), plain.end());
        std::printf("%.2f %.2f %.2f %.2f\n", ours.front(), ours[3], plain.front(), plain[3]);
        return 0;
    }
    if (command == "write" && argc == 4) {
        auto p = std::make_unique<Program>(argv[2]);
        Read(p->app, argv[2]);
        double best = 1e30;
        for (int i = 0; i < 3; ++i) {
            const auto start = std::chrono::steady_clock::now();
            Write(p->app, argv[3]);
            best = std::min(best, Ms(start));
        }
        std::printf("%.2f\n", best);
        return 0;
    }
    std::fprintf(stderr, "usage: map_file_process make N path | open path | warm path | write path out\n");
    return 2;
}
