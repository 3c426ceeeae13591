#pragma once
// A fresh program state over the fake platform for each input, and the input written to a file
// the readers can open.
#include <cstddef>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

#include "App.h"
#include "platform/fake/FakePlatform.h"
#include "shell/stForm1.h"

namespace movra::fuzz {

struct FuzzApp {
    FakePlatform platform{"/tmp", "/tmp/movra-fuzz-work-" + std::to_string(::getpid())};
    App app{platform};
    stForm1 form1{app};
};

// A small open map with a path, and what a refused file must leave of it: the store, the layer
// tables, the settings, the path, the caption and the flag.
inline void MakeOpenMap(App& app, stForm1& form) {
    app.store.LayerCount = 2;
    app.store.NextLayerIndex = 3;
    app.store.DimensionKeep(2);
    app.store.LayerRecordCount.assign(4, 0);
    app.store.LayerNames[1] = "原图";
    app.store.LayerLockFlag[2] = -1;
    for (int i = 0; i < 3; ++i) {
        MapRecord& r = app.store.At(1, i);
        r.RecordType = 2;
        r.RecordX1 = 100 + i;
        r.RecordText = "原";
        app.store.Count(1) = i + 1;
    }
    app.view.ProjectParams[0] = 500;
    app.reduction.ReductionOffsetX = 3500000;
    app.current.CurrentFilePath = "/maps/原图.wtw";
    app.current.ModifiedFlag = -1;
    form.SetCaption("MOVRA_/maps/原图.wtw");
}

struct OpenMapPrint {
    std::vector<MapRecord> records;
    std::vector<std::int32_t> counts;
    std::array<std::string, 256> names;
    std::array<std::int16_t, 256> on{}, lock{};
    std::array<double, 6> params{};
    double offsetX = 0;
    std::string path, caption;
    int modified = 0, layerCount = 0;
    bool operator==(const OpenMapPrint&) const = default;
};

inline OpenMapPrint PrintOf(const App& app, const stForm1& form) {
    OpenMapPrint p;
    for (int layer = 0; layer <= app.store.LayerCount && layer <= app.store.LayerDimension(); ++layer) {
        p.counts.push_back(app.store.Count(layer));
        for (int slot = 0; slot <= app.store.Count(layer) && slot <= app.store.LayerCapacity; ++slot)
            p.records.push_back(app.store.Get(layer, slot));
    }
    p.names = app.store.LayerNames;
    p.on = app.store.LayerOnFlag;
    p.lock = app.store.LayerLockFlag;
    p.params = app.view.ProjectParams;
    p.offsetX = app.reduction.ReductionOffsetX;
    p.path = app.current.CurrentFilePath;
    p.caption = form.Caption();
    p.modified = app.current.ModifiedFlag;
    p.layerCount = app.store.LayerCount;
    return p;
}

// A refused file that changed the open map is a failure the fuzzer reports.
inline void CheckRefusalKeptTheMap(bool read, const OpenMapPrint& before, const App& app, const stForm1& form) {
    if (read) {
        // A map read whole is the file's: its lock flags are still the user's, but for the layer
        // the selector chose, which choosing unlocks.
        for (int i = 0; i < 256; ++i)
            if (i != app.store.CurrentLayer && i != app.store.LayerCount && app.store.LayerLockFlag[static_cast<std::size_t>(i)] != before.lock[static_cast<std::size_t>(i)])
                std::abort();
        return;
    }
    if (!(PrintOf(app, form) == before)) std::abort();
}

inline std::string InputPath(const char* extension) {
    return "/tmp/movra-fuzz-" + std::to_string(::getpid()) + extension;
}

inline std::string WriteInput(const std::uint8_t* data, std::size_t size, const char* extension) {
    const std::string path = InputPath(extension);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    return path;
}

}  // namespace movra::fuzz
