// Writes a small sample map as a compact file, a full file and a block file: the fuzzers' seeds.
#include <cstdio>
#include <filesystem>
#include <string>

#include "FuzzApp.h"
#include "document/BlockFile.h"
#include "document/JdxFile.h"
#include "document/StoreRecord.h"
#include "document/WtwFile.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: make_seeds <corpus folder>\n");
        return 2;
    }
    const std::string root = argv[1];
    for (const char* name : {"jdx", "wtw", "block"}) std::filesystem::create_directories(root + "/" + name);

    movra::fuzz::FuzzApp f;
    auto& app = f.app;
    app.store.LayerCount = 2;
    app.store.NextLayerIndex = 3;
    app.store.DimensionKeep(2);
    app.store.LayerRecordCount.assign(4, 0);
    app.store.LayerNames[1] = "道路";
    app.store.LayerNames[2] = "房屋";
    app.mapFile.AttributeFieldNames[1] = {"名称", "面积"};
    for (int layer = 1; layer <= 2; ++layer) {
        app.store.CurrentLayer = static_cast<std::uint8_t>(layer);
        for (int i = 0; i < 3; ++i) {
            movra::StoreRecord(app, movra::StoreFromFile, static_cast<std::uint8_t>(2 + i * 30), i, i + 1, i + 2,
                               i + 3, 0, 0, 0, 0, i == 1 ? "文字!属性" : "A");
        }
    }
    movra::WriteJdxFile(app, root + "/jdx/sample.jdx");
    movra::WriteWtwFile(app, root + "/wtw/sample.wtw");
    app.selection.SelectionList = {{4, 0}, {1, 0}, {1, 1}, {2, 2}};
    std::string block = root + "/block/sample.Qvk";
    movra::SaveSelectionAsBlock(app, block);
    return 0;
}
