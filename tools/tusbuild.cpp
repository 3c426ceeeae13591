// Builds a symbol-standard file (.tus) from its readable source, one item per line, and checks
// that the result loads completely before it replaces the old file.
//
//   tusbuild SOURCE.txt OUTPUT.tus
//   tusbuild --proxy SOURCE.txt OUTPUT.tus   (the DXF proxy table: rows of four items, then "end")

#include <cstdio>
#include <fstream>
#include <string>

#include "basic/Errors.h"
#include "basic/Files.h"
#include "basic/Numbers.h"
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
    std::string bytes;
    try {
        bytes = EncodeTusSource(*source);
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
