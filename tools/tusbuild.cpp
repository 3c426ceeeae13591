// Builds a symbol-standard file (.tus) from its readable source and checks it before it replaces
// the old file: every code the symbol pages use is there, each item as the readers take it whole,
// and the result loads completely. A source that fails a check fails the build.
//
//   tusbuild SOURCE.txt OUTPUT.tus
//   tusbuild --proxy SOURCE.txt OUTPUT.tus   (the DXF proxy table: rows of four items, then "end")

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "basic/Errors.h"
#include "basic/Files.h"
#include "basic/Numbers.h"
#include "symbols/StandardSource.h"
#include "symbols/TusFile.h"
#include "symbols/TusItem.h"
#include "exchange/ProxyTable.h"

using namespace movra;

int main(int argc, char** argv) {
    const bool proxy = argc == 4 && std::string(argv[1]) == "--proxy";
    if (proxy) {
        --argc;
        ++argv;
    }
    if (argc != 3) {
        std::fprintf(stderr, "usage: tusbuild SOURCE.txt OUTPUT.tus\n");
        return 2;
    }
    std::optional<std::string> source;
    try {
        source = ReadWholeFile(argv[1]);
    } catch (const RuntimeError&) {
        std::fprintf(stderr, "tusbuild: cannot read %s\n", argv[1]);
        return 1;
    }
    std::string itemLines = *source;
    if (!proxy) {
        // A base standard named in the source is read from the same folder.
        const std::filesystem::path folder = std::filesystem::path(argv[1]).parent_path();
        const StandardSourceResult compiled =
            CompileStandardSource(*source, [&](const std::string& name) -> std::optional<std::string> {
                try {
                    return ReadWholeFile((folder / (name + ".txt")).string());
                } catch (const RuntimeError&) {
                    return std::nullopt;
                }
            });
        for (const std::string& error : compiled.errors) std::fprintf(stderr, "tusbuild: %s: %s\n", argv[1], error.c_str());
        if (!compiled.errors.empty()) return 1;
        itemLines = compiled.itemLines;
    }
    std::string bytes;
    try {
        bytes = EncodeTusSource(itemLines);
    } catch (const RuntimeError& error) {
        std::fprintf(stderr, "tusbuild: %s: a line is too long (%s)\n", argv[1], error.what());
        return 1;
    }

    if (proxy) {
        ProxyTable table;
        LoadProxyTableFrom(table, bytes);
        if (table.ProxyTableLoaded != -1 || table.rows.size() < 2) {
            std::fprintf(stderr, "tusbuild: %s is no complete proxy table\n", argv[1]);
            return 1;
        }
    } else {
        SymbolStandard standard;
        DimensionSymbolTables(standard);
        DimensionLineTypeTables(standard);
        TusItemReader pointItems(bytes);
        const TusReadEnd pointEnd = ReadSymbolDefinitions(standard, pointItems);
        TusItemReader lineItems(bytes);
        const TusReadEnd lineEnd = ReadLineTypes(standard, lineItems);
        if (pointEnd != TusReadEnd::EndMarker || lineEnd != TusReadEnd::EndMarker ||
            standard.SymbolStandardLoaded != True) {
            std::fprintf(stderr, "tusbuild: %s does not load completely (check the last lines read)\n", argv[1]);
            return 1;
        }
    }

    const std::string temporary = std::string(argv[2]) + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out) {
            std::fprintf(stderr, "tusbuild: cannot write %s\n", temporary.c_str());
            return 1;
        }
    }
    if (std::rename(temporary.c_str(), argv[2]) != 0) {
        std::fprintf(stderr, "tusbuild: cannot replace %s\n", argv[2]);
        return 1;
    }
    return 0;
}
