// libFuzzer target: the DXF open command on any bytes, over an open map, with the redraw that
// ends it. A file the command does not take must leave the open map as it was, field for field,
// with its path, caption and flag; a file it takes must leave no position beyond the farthest
// storable one in the store. Neither may keep the program waiting: the fuzzer's timeout catches
// a redraw that walks a far figure's whole span.
//
// The proxy table is read from the folder MOVRA_FUZZ_PROGRAM_FOLDER names, as for fuzz_dxf.
#include <cstdlib>

#include "FuzzApp.h"
#include "document/RecordPositions.h"
#include "document/OpenDialogs.h"

namespace {

const char* ProgramFolder() {
    const char* folder = std::getenv("MOVRA_FUZZ_PROGRAM_FOLDER");
    return folder != nullptr ? folder : "/tmp";
}

void CheckStorable(const movra::App& app) {
    const auto& s = app.store;
    for (int l = 1; l <= s.LayerCount && l <= s.LayerDimension(); ++l) {
        for (int slot = 0; slot < s.Count(l) && slot <= s.LayerCapacity; ++slot) {
            const movra::MapRecord& r = s.Get(l, slot);
            if (!movra::HasStorablePositions(r)) std::abort();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = movra::fuzz::WriteInput(data, size, ".dxf");
    movra::FakePlatform platform{ProgramFolder(), "/tmp/movra-fuzz-work-" + std::to_string(::getpid())};
    movra::App app{platform};
    movra::stForm1 form1{app};
    form1.Load();
    platform.promptScript.defaultAnswer = movra::AnswerNo;  // the open map is not saved first
    movra::fuzz::MakeOpenMap(app, form1);
    const movra::fuzz::OpenMapPrint before = movra::fuzz::PrintOf(app, form1);

    movra::OpenNamedMap(app, path);  // reads, reduces, zooms and redraws
    const bool taken = app.current.CurrentFilePath == path;
    movra::fuzz::CheckRefusalKeptTheMap(taken, before, app, form1);
    if (taken) CheckStorable(app);
    return 0;
}
