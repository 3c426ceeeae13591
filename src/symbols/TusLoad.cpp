#include <filesystem>

#include "App.h"
#include "basic/Files.h"
#include "symbols/TusFile.h"

namespace movra {

namespace {

// The file's bytes; nothing when it cannot be read (a missing file is not created).
std::optional<std::string> ReadStandardFile(const std::string& path) {
    try {
        return ReadWholeFile(path);
    } catch (const RuntimeError&) {
        return std::nullopt;
    }
}

}  // namespace

std::string SymbolStandardPath(App& app) {
    const std::string name = ChosenSymbolStandardName(app) + ".tus";
    const std::string own = app.platform.folders().WorkFolder() + "/" + name;
    std::error_code error;
    if (std::filesystem::is_regular_file(std::filesystem::path(own), error)) return own;
    return app.platform.folders().ProgramFolder() + "/" + name;
}

TusReadEnd LoadSymbolDefinitions(App& app, TusStop* stop) {
    SymbolStandard& st = app.symbolStandard;
    st.SymbolStandardFile = SymbolStandardPath(app);
    const std::optional<std::string> bytes = ReadStandardFile(st.SymbolStandardFile);
    if (!bytes) return TusReadEnd::MissingFile;
    TusItemReader items(*bytes);
    return ReadSymbolDefinitions(st, items, stop);
}

TusReadEnd LoadLineTypes(App& app, TusStop* stop) {
    SymbolStandard& st = app.symbolStandard;
    st.SymbolStandardFile = SymbolStandardPath(app);
    const std::optional<std::string> bytes = ReadStandardFile(st.SymbolStandardFile);
    if (!bytes) return TusReadEnd::MissingFile;
    TusItemReader items(*bytes);
    const TusReadEnd end = ReadLineTypes(st, items, stop);
    if (end == TusReadEnd::EndMarker) EnableSymbolPageButton(app);
    return end;
}

}  // namespace movra
