#include "symbols/ZfhFile.h"

#include <cmath>
#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

#include "App.h"
#include "basic/Errors.h"
#include "basic/Files.h"
#include "basic/Numbers.h"
#include "basic/Paths.h"
#include "basic/Text.h"
#include "document/FileRecord.h"
#include "document/RecordPositions.h"
#include "document/SaveFailure.h"
#include "symbols/LoadSymbolStandard.h"

namespace movra {

namespace {

constexpr const char* EndText = "JVQ";
constexpr int FirstDrawingSlot = 900;
constexpr int LastDrawingSlot = 998;

bool IsEndRecord(const FileRecord& record) {
    return record.type == 0 && EqualsIgnoreCase(Trim(record.text), EndText);
}

// Records in the file, the length divided by the record size rounded halves to even.
std::int64_t RecordCountOf(std::int64_t length) {
    return static_cast<std::int64_t>(std::nearbyint(static_cast<double>(length) / FixedRecordSize));
}

void FinishLoad(App& app, int slot) {
    auto& lib = app.selfMade;
    // A smaller library loaded over a larger one leaves none of the larger one's records behind.
    for (int s = slot; s < lib.LoadedUpTo && s <= app.store.LayerCapacity; ++s) app.store.At(0, s) = MapRecord{};
    lib.LoadedUpTo = slot;
    lib.Layer0SavedCount = slot;
    app.store.Count(0) = slot;
    lib.SelfMadeSymbolsLoaded = -1;
}

FileRecord RecordOfSlot(const MapRecord& m, int number) {
    FileRecord r;
    r.layer = 0;
    r.slot = static_cast<std::int16_t>(number);
    r.type = m.RecordType;
    r.color = m.RecordColor;
    r.x1 = m.RecordX1, r.y1 = m.RecordY1, r.z1 = m.RecordZ1;
    r.x2 = m.RecordX2, r.y2 = m.RecordY2, r.z2 = m.RecordZ2;
    r.x3 = m.RecordX3, r.y3 = m.RecordY3, r.z3 = m.RecordZ3;
    r.x4 = m.RecordX4, r.y4 = m.RecordY4, r.z4 = m.RecordZ4;
    r.pen = m.RecordPen;
    r.font = m.RecordFont;
    return r;
}

// Why a record is none a library holds (nullptr when it is one): the library writes layer 0, the
// element kinds 0 to 8, a name beginning with "#" and coordinates in paper millimetres.
const char* NotSymbolRecord(const FileRecord& r) {
    if (r.layer != 0 || r.type > 8) return "不是符号元素";
    if (r.type != 0 && Left(Trim(r.text), 1) != "#") return "的符号名不以#开头";
    return HasStorablePositions(r) ? nullptr : "的坐标不是有效数字";
}

// Reads the library's records up to its end record (at most `limit`) into `records`; a record no
// library holds gives its number and why, and nothing else is to be trusted of such a file.
struct NotALibrary {
    std::int64_t record = 0;
    const char* why = nullptr;
};
std::optional<NotALibrary> ReadLibraryRecords(std::string_view bytes, std::int64_t limit,
                                              std::vector<FileRecord>& records) {
    const std::int64_t n = RecordCountOf(static_cast<std::int64_t>(bytes.size()));
    for (std::int64_t r = 1; r <= n && r <= limit; ++r) {
        // A last record cut short by the end of the file counts as the end of the library.
        if (static_cast<std::size_t>(r) * FixedRecordSize > bytes.size()) break;
        FileRecord record = DecodeFixedRecord(bytes.substr(static_cast<std::size_t>(r - 1) * FixedRecordSize));
        if (IsEndRecord(record)) break;
        if (const char* why = NotSymbolRecord(record)) return NotALibrary{r, why};
        records.push_back(std::move(record));
    }
    return std::nullopt;
}

// The library path names a file of the program folder. The shipped libraries stay read-only: the
// user's own copy in the work folder is read when there is one, and every save goes there.
std::string LibraryPath(const App& app, bool forWriting) {
    const std::string& file = app.selfMade.SelfMadeSymbolFile;
    const std::string program = app.platform.folders().ProgramFolder();
    if (file.size() <= program.size() || file.compare(0, program.size(), program) != 0) return file;
    std::string name = file.substr(program.size());
    for (char& c : name)
        if (c == '/') c = '\\';
    const ProgramPaths paths = PathsFromFolders(app.platform.folders());
    return forWriting ? ResolveWritable(paths, name) : ResolveReadable(paths, name);
}

}  // namespace

void LoadSelfMadeSymbols(App& app) {
    const std::string path = LibraryPath(app, false);
    Prompt& prompt = app.platform.prompt();
    std::string bytes;
    try {
        bytes = ReadWholeFile(path);
    } catch (const RuntimeError& error) {
        prompt.MsgBox(ReadStoppedText(FileNameOf(path), "", error, SelfMadeNotLoadedText), MsgOkOnly);
        return;
    }
    // The library is proved record by record before anything reaches layer 0: any bytes would
    // otherwise load as symbols, and a NaN or 1e308 among them would reach the map on insertion.
    std::vector<FileRecord> records;
    const std::int64_t room = app.store.LayerCapacity - Layer0Slots::SymbolLibraryFirst;
    if (const auto bad = ReadLibraryRecords(bytes, room, records)) {
        prompt.MsgBox(FileNameOf(path) + "：" + RecordWhere(bad->record) + bad->why + "，" + NotSelfMadeLibraryMessage,
                      MsgOkOnly);
        return;
    }
    try {
        int s = Layer0Slots::SymbolLibraryFirst;
        for (const FileRecord& record : records) {
            MapRecord& m = app.store.At(0, s++);
            m.RecordType = record.type;
            m.RecordColor = record.color;
            m.RecordPen = static_cast<std::uint8_t>(record.pen & 0xFF);
            m.RecordX1 = record.x1, m.RecordY1 = record.y1, m.RecordZ1 = record.z1;
            m.RecordX2 = record.x2, m.RecordY2 = record.y2, m.RecordZ2 = record.z2;
            m.RecordX3 = record.x3, m.RecordY3 = record.y3, m.RecordZ3 = record.z3;
            m.RecordX4 = record.x4, m.RecordY4 = record.y4, m.RecordZ4 = record.z4;
            m.RecordText = Trim(record.text);
            m.RecordFont = Trim(record.font);
        }
        FinishLoad(app, s);
    } catch (...) {
    }
}

bool SaveSymbolToLibrary(App& app, std::string name) {
    if (Left(name, 1) != "#") name = "#" + name;
    app.platform.events().DoEvents();
    auto& lib = app.selfMade;
    if (lib.SelfMadeSymbolFile.empty()) lib.SelfMadeSymbolFile = SelfMadeLibraryPath(app, "符号库1");
    // The message names the file the symbol is written to: the user's copy in the work folder
    // when the library is one of the program folder's.
    std::string shown = lib.SelfMadeSymbolFile;
    try {
        shown = LibraryPath(app, true);
    } catch (...) {
    }
    app.platform.prompt().MsgBox("当前符号库为" + shown, MsgOkOnly);
    std::string writePath = shown;
    try {
        std::string bytes;
        const std::string readPath = LibraryPath(app, false);
        writePath = LibraryPath(app, true);
        if (FileExists(readPath)) bytes = ReadWholeFile(readPath);
        // A symbol is written over the library's end record: a file that is no library would lose
        // its last bytes to it.
        std::vector<FileRecord> held;
        if (const auto bad = ReadLibraryRecords(bytes, RecordCountOf(static_cast<std::int64_t>(bytes.size())), held)) {
            TellSaveFailed(app, writePath, FileNameOf(readPath) + "：" + RecordWhere(bad->record) + bad->why + "，" +
                                               NotSelfMadeLibraryText);
            return false;
        }
        const std::int64_t n = RecordCountOf(static_cast<std::int64_t>(bytes.size()));
        std::int64_t d = n > 0 ? n : 1;
        auto put = [&bytes](std::int64_t number, const FileRecord& record) {
            const std::size_t at = static_cast<std::size_t>(number - 1) * FixedRecordSize;
            if (bytes.size() < at + FixedRecordSize) bytes.resize(at + FixedRecordSize, ' ');
            EncodeFixedRecord(record, bytes.data() + at);
        };
        for (int s = FirstDrawingSlot; s <= LastDrawingSlot; ++s) {
            const MapRecord& m = app.store.Get(0, s);
            FileRecord record = RecordOfSlot(m, static_cast<int>(d));
            if (m.RecordType != 0) {
                record.text = name;
                put(d, record);
                ++d;
            } else {
                record.text = EndText;
                put(d, record);
                break;
            }
        }
        CreateFolders(std::filesystem::path(writePath).parent_path().string());
        WriteWholeFile(writePath, bytes);
        return true;
    } catch (const std::exception& e) {
        // The library keeps what it held; the user is told and the symbol is still on the canvas.
        TellSaveFailed(app, writePath, SaveFailureReason(e));
        return false;
    }
}

}  // namespace movra
