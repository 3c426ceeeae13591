#pragma once
// Merging another map file (compact, full or DXF) into the open map. Layers the file has beyond
// the map's are added; every inserted record carries the merge's number in RecordSource, so that
// one merged file can later be removed as a whole. MergedFileCount and MergedFileNames (in
// MapFileState) keep the count and the names of the files in the map.
#include <string>

namespace movra {

struct App;

inline constexpr const char* InsertWrongFileMessage = "不是可插入的图形文件，请重新选择";
inline constexpr const char* MergedFilesFullMessage = "已合并255个文件，不能再插入";
// Ends the message of a merge that failed after it had moved records between layers.
inline constexpr const char* InsertPartlyMergedText = "已插入的部分保留在图中。";

// Asks for the file and merges it. The open map keeps its own path, so a later save does not
// write over the inserted file.
void InsertDrawingFile(App& app);

// How a merge that raised nothing ended.
enum class MergeResult {
    Merged,
    WrongFile,    // not a file of the chosen type: the dialog comes back
    MergesFull,   // no merge number left (the user was told)
    NothingHeld,  // a DXF file without an entity the merge keeps
    LayersOnly,   // a DXF file whose entities carry no subclass markers (release 12)
};

// Merges the file by the dialog's filter (1 compact, 2 full, 3 DXF map file), exposed for the
// tests. The file is read apart first, into a frame of the open map without its records; only a
// file read to its end, and a DXF file only when the open command would take it, is merged;
// otherwise the open map is not touched. A file found damaged raises, after writing where reading
// stopped ("第3条记录", "第12行") into `stoppedAt`. The closing steps are the caller's.
MergeResult MergeDrawingFile(App& app, int filterIndex, const std::string& path, std::string* stoppedAt = nullptr);

}  // namespace movra
