#pragma once
// Block files (*.Qvk): a set of map records taken out of one map to be pasted into another, in
// variable-form records: a header whose slot field is the number of block records + 1, the block
// records (layer and slot they came from, their fields), and an end record. The temporary block
// file "\mytemp\NTKuai" keeps the copy buffer from one map, and one run, to the next.

#include <string>

namespace movra {

struct App;
struct FileRecord;

inline constexpr const char* BlockMagic = "Qvk";
inline constexpr const char* BlockEndText = "jvqQvk";
inline constexpr const char* TempBlockFileName = "\\mytemp\\NTKuai";
inline constexpr const char* TooFewRecordsMessage = "未选出图元或图元2个以下";
inline constexpr const char* BlockWrongFileMessage = "不是块文件，未读入";
inline constexpr const char* BlockNotChosenMessage = "未选择块文件，复制缓冲区未改变。";
// Names a block record whose vertex is no finite number; the block is not taken.
inline constexpr const char* BlockNonFiniteText = "的坐标不是有效数字或超出范围，";
// Ends the message of a block that could not be read whole.
inline constexpr const char* CopyBufferKeptText = "复制缓冲区未改变。";
inline constexpr const char* BlockSaveTitle = "保存为*.Qvk";
inline constexpr const char* BlockOpenTitle = "打开*.Qvk";
inline constexpr const char* BlockFilter = "所有文件|*.*|块文件|*.Qvk";
inline constexpr const char* BlockDefaultExt = ".Qvk";

// Where the temporary block file lives (in the work folder).
std::string TempBlockFilePath(const App& app);

// Writes the selected records as a block file; at least two must be selected. An empty path asks
// the user and is set to the chosen file. A file that cannot be written is told in a message box
// and the old file stays whole; a cancelled dialog ends quietly.
void SaveSelectionAsBlock(App& app, std::string& path);
// Writes the copy buffer (one record or more) as the temporary block file; `path` becomes its path.
// True when the block was written; a file that cannot be written is told as every failed save is,
// and the block that was there stays whole.
bool SaveCopyBufferAsBlock(App& app, std::string& path);
// Fills the copy buffer from a block file; an empty or missing path asks the user. Only a block
// read whole replaces the copy buffer (true); a cancelled dialog, a file that is no block file and
// a damaged one leave it as it was, and the message line says why (false). CopyBufferFlag is left
// to the caller.
bool LoadBlockFile(App& app, std::string& path);
// Keeps copied records in the temporary block file before a map is replaced or the program ends.
// Copied records that could not be kept there stay in memory for the paste (CopyBufferFlag -1):
// a paste must never take the older block in their place.
void FlushCopyBuffer(App& app);

// The header and end records of a block file.
FileRecord MakeBlockHeader(int slot);
FileRecord MakeBlockEnd();
bool IsBlockEnd(const FileRecord& record);

}  // namespace movra
