#pragma once
// What a map reader and writer hand on to the rest of the program once a file is done, and the
// map state they keep that belongs to subsystems not written yet. Each member and each procedure
// below stands in for its owner: the extents computation (canvas tools), the attribute field names
// (attribute classes),
// the merged-file counter (map insertion), the picture-holder counter (image records), the recent
// files (open and save commands) and the undo journal. When the owner lands, it takes the member
// over and the procedure here calls it.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace movra {

struct App;

struct MapFileState {
    // Field names of the user attribute classes 1..4 (element 0 unused), each list 0..n.
    std::array<std::vector<std::string>, 5> AttributeFieldNames{};
    // Tag of the records read from the current file into RecordSource.
    std::uint8_t MergedFileCount = 1;
    // Entry k names the file whose records carry RecordSource k (entry 0 unused).
    std::vector<std::string> MergedFileNames = std::vector<std::string>(2);
    // The picture holder last handed out to an image record.
    std::int16_t LastImageSlot = 0;
    // The four most recent files, entry 0 the newest.
    std::array<std::string, 4> RecentFiles{};
    // Threads that decode the drawing of a large compact map file at once (0: as many as the
    // machine runs, at most eight), and the least number of records for which they are started.
    int ReadThreads = 0;
    int ParallelReadMinimumRecords = 32768;
    // Threads that decoded the drawing of the last map file read (0: one).
    int LastReadThreads = 0;
    // Records of the last map file read or merged whose vertices were no numbers or lay beyond the
    // storable range: read as deleted, or merged as empty slots.
    int LastReadUnusableRecords = 0;
};

// What the attribute dialogs show, and keep in the list, for a field not named yet: it stands in
// for a name and is none.
inline constexpr const char* UnnamedFieldText = "未设置";
// A field name that names its field: neither empty nor the stand-in.
inline bool IsFieldNamed(const std::string& name) { return !name.empty() && name != UnnamedFieldText; }

// The steps after a map file was read whole: the message line emptied, the picture-holder counter
// reset, the extents recomputed, the undo journal reset with the opened map as its first
// checkpoint, and the path entered in the recent files.
// `extentsWidened`: the reader widened the drawing extents itself, in store order.
void FinishMapRead(App& app, const std::string& path, bool extentsWidened = false);
// The step after a map file was written: the path entered in the recent files.
void FinishMapWrite(App& app, const std::string& path);

// Enters the path as the most recent of the recent files.
void EnterRecentFile(App& app, const std::string& path);

}  // namespace movra
