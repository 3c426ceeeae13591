// libFuzzer target: the DXF reader on any bytes, into a new document. Whatever the file holds,
// the store must stay usable: the layer count inside the store, every count inside the slot
// dimension, nothing written above a layer's open slot, and a record drawn afterwards lands in
// the open slot of its layer without touching the last imported one.
//
// The proxy table is read from the folder MOVRA_FUZZ_PROGRAM_FOLDER names (the build's bin
// folder, which holds the table), so foreign line-type, block and feature names go through it.
#include <cstdlib>

#include "FuzzApp.h"
#include "document/Layers.h"
#include "document/StoreRecord.h"
#include "exchange/ImportDxf.h"

namespace {

const char* ProgramFolder() {
    const char* folder = std::getenv("MOVRA_FUZZ_PROGRAM_FOLDER");
    return folder != nullptr ? folder : "/tmp";
}

void CheckUsable(const movra::App& app) {
    const auto& s = app.store;
    if (s.LayerCount < 1 || s.LayerCount > s.LayerDimension()) std::abort();
    if (s.CurrentLayer > s.LayerCount) std::abort();
    for (int l = 0; l <= s.LayerCount; ++l) {
        if (s.Count(l) < 0 || s.Count(l) >= s.LayerCapacity) std::abort();
        if (l > 0 && s.AllocatedSlots(l) > s.Count(l) + 1) std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    movra::FakePlatform platform{ProgramFolder(), "/tmp/movra-fuzz-work-" + std::to_string(::getpid())};
    movra::App app{platform};
    movra::NewDocument(app);
    movra::ImportDxf(app, movra::fuzz::WriteInput(data, size, ".dxf"));
    CheckUsable(app);

    const int layer = app.store.CurrentLayer;
    const int open = app.store.Count(layer);
    const movra::MapRecord last = open > 0 ? app.store.Get(layer, open - 1) : movra::MapRecord{};
    movra::StoreRecord(app, movra::StoreFromFile, 2, 1, 2, 3, 4, 0, 0, 0, 0, "后");
    if (open > 0 && !(app.store.Get(layer, open - 1) == last)) std::abort();
    CheckUsable(app);
    return 0;
}
