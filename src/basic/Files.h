#pragma once
#include <cstdint>
#include <cstdio>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace movra {

// File access the way the program uses it: whole files read into memory, records and lines read
// from there; new contents written to a temporary file beside the target and renamed over it when
// complete; fixed-length record files read and written in place. Every failure raises a
// RuntimeError with the number the old runtime gave (53 文件未找到, 62 输入超出文件尾, ...).

bool FileExists(const std::string& path);  // a regular file (not a folder)
bool FolderExists(const std::string& path);
// Length in bytes; 53 when the file is missing.
std::int64_t FileLength(const std::string& path);
// Deletes a file; 53 when it is missing.
void DeleteFile(const std::string& path);
// Creates a folder and its parents; nothing when it exists.
void CreateFolders(const std::string& path);

// What the user is told of a path that names a pipe, a device or a folder where a file is read.
inline constexpr const char* NotRegularFileText = "不是普通文件（管道、设备或文件夹）";
// Raises 53 (or 76) for a missing file and 75 with NotRegularFileText for anything that is not a
// regular file, before anything opens it: opening a pipe for reading waits for a writer.
void RequireRegularFile(const std::string& path);

// The whole contents as bytes; anything but a regular file is refused before it is opened.
std::string ReadWholeFile(const std::string& path);
// Replaces the file with `bytes` through AtomicFileWriter.
void WriteWholeFile(const std::string& path, std::string_view bytes);

// A write past the file-size limit (ulimit -f) ends the process unless the signal it raises is
// ignored; ignored, the write fails with EFBIG, which is told as a full disk. Called at start.
void IgnoreFileSizeSignal();

// Maps an errno value of a failed file operation to the RuntimeError the user is shown.
[[noreturn]] void RaiseFileError(int errnoValue);

// Writes a new version of a file safely: everything goes to a temporary file in the same folder,
// and Commit() renames it over the target and syncs the folder, so the new file survives a power
// cut once the save has said it is done. Destroyed without Commit() (a failure, an exception), it
// removes the temporary file and the old file stays as it was. A target the user may not write is
// refused at once (70), as opening it for writing would be. A path that is a symbolic link saves
// the file the link names (beside it), and the link stays. Temporary files that an earlier save of
// the same file left when it was killed are removed.
// Path() is the file really written: the path with its links followed.
class PendingFolderSyncs;
class AtomicFileWriter {
public:
    explicit AtomicFileWriter(std::string path);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    void Write(std::string_view bytes);
    // With `later`, the new name is made durable by the caller's later->Sync(), so that many files
    // written into one folder cost one sync of it; the file's contents are synced here either way,
    // so the rename never puts an unwritten file in the old one's place.
    void Commit(PendingFolderSyncs* later = nullptr);
    const std::string& Path() const { return path_; }
    // The temporary file, for a writer that can only be given a file name (a library writing its
    // own output): it writes the file there by name, and Commit() still syncs it and puts it in
    // place, or the destructor removes it.
    const std::string& TemporaryPath() const { return tempPath_; }

private:
    void Discard();
    static constexpr std::uint64_t EarlyWritebackBytes = std::uint64_t{8} << 20;
    std::string path_;
    std::string tempPath_;
    std::FILE* file_ = nullptr;
    std::uint64_t written_ = 0;     // bytes written so far
    std::uint64_t sentToDisk_ = 0;  // bytes whose writing to the disk has been started
};

// The folders of files committed without their folder being synced. Sync() makes all their new
// names durable, each folder once; whoever holds it calls Sync() before telling the user that the
// files are saved (the destructor syncs what is left, for a way out by an exception).
class PendingFolderSyncs {
public:
    PendingFolderSyncs() = default;
    ~PendingFolderSyncs() { Sync(); }
    PendingFolderSyncs(const PendingFolderSyncs&) = delete;
    PendingFolderSyncs& operator=(const PendingFolderSyncs&) = delete;

    // The folder of a file just renamed into place.
    void AddFolderOf(const std::string& path);
    void Sync();

private:
    std::set<std::string> folders_;
};

// Little-endian binary values appended one after another, as binary files hold them. When given a
// writer it passes full stretches on, so a large file is not held twice in memory.
class ByteWriter {
public:
    ByteWriter() = default;
    explicit ByteWriter(AtomicFileWriter& sink) : sink_(&sink) {}

    void WriteInt8(std::int8_t v) { bytes_ += static_cast<char>(v); FlushIfFull(); }
    void WriteByte(std::uint8_t v) { bytes_ += static_cast<char>(v); FlushIfFull(); }
    void WriteInt16(std::int16_t v);
    void WriteInt32(std::int32_t v);
    void WriteFloat(float v);
    void WriteDouble(double v);
    void WriteBytes(std::string_view bytes);
    // The GBK form of `utf8` in exactly `width` bytes: cut on a character boundary, padded with
    // `pad` (blanks, as fixed-length strings are padded).
    void WriteFixedGbk(std::string_view utf8, size_t width, char pad = ' ');
    // A 16-bit byte count followed by the GBK bytes (cut on a character boundary at 32767 bytes).
    void WriteCountedGbk(std::string_view utf8);

    // What has not been passed to the writer yet (all of it without a writer).
    const std::string& Bytes() const { return bytes_; }
    std::string TakeBytes();
    // Passes the rest on to the writer; call before its Commit().
    void Flush();

private:
    void FlushIfFull() {
        if (sink_ && bytes_.size() >= kFlushSize) Flush();
    }
    static constexpr size_t kFlushSize = 1 << 20;
    std::string bytes_;
    AtomicFileWriter* sink_ = nullptr;
};

// Reads binary values one after another from bytes in memory. Reading beyond the end raises
// RuntimeError 62 and reads nothing.
class ByteReader {
public:
    explicit ByteReader(std::string_view bytes) : bytes_(bytes) {}
    // The reader only looks at the bytes: they must outlive it, so a temporary string is refused.
    explicit ByteReader(std::string&&) = delete;

    std::int8_t ReadInt8();
    std::uint8_t ReadByte();
    std::int16_t ReadInt16();
    std::int32_t ReadInt32();
    float ReadFloat();
    double ReadDouble();
    std::string_view ReadBytes(size_t count);
    // `width` GBK bytes as UTF-8, unchanged (padding included; callers trim as they need).
    std::string ReadFixedGbk(size_t width);
    // A 16-bit byte count (a negative count reads as empty) and then as many GBK bytes, as UTF-8.
    std::string ReadCountedGbk();
    void Skip(size_t count);

    size_t Position() const { return pos_; }
    void Seek(size_t position);  // 62 beyond the end
    size_t Remaining() const { return bytes_.size() - pos_; }
    bool AtEnd() const { return pos_ >= bytes_.size(); }

private:
    const char* Take(size_t count);
    std::string_view bytes_;
    size_t pos_ = 0;
};

// A file of fixed-length records addressed by record number (1-based): record n lies at
// (n - 1) * length. Opened for reading and writing, created when missing (as random files are).
class RecordFile {
public:
    enum class Mode { ReadWrite, ReadOnly };
    RecordFile(const std::string& path, size_t recordLength, Mode mode = Mode::ReadWrite);
    ~RecordFile();
    RecordFile(const RecordFile&) = delete;
    RecordFile& operator=(const RecordFile&) = delete;

    // Record n as `recordLength` bytes. 63 for n < 1, 62 when the record is not (wholly) in the file.
    std::string ReadRecord(std::int64_t n) const;
    // Writes record n; shorter data is padded with zero bytes, longer data raises 59. Writing past
    // the end grows the file (records between read as zero bytes).
    void WriteRecord(std::int64_t n, std::string_view bytes);
    // Whole records in the file.
    std::int64_t RecordCount() const;
    size_t RecordLength() const { return length_; }

private:
    int fd_ = -1;
    size_t length_;
};

// Lines of a text file held in memory: a line ends at CR LF, LF alone or CR alone; a last line
// without a line break is still a line. Bytes are returned as they are (see ReadGbkLine).
class TextLineReader {
public:
    explicit TextLineReader(std::string contents) : text_(std::move(contents)) {}
    static TextLineReader FromFile(const std::string& path) { return TextLineReader(ReadWholeFile(path)); }

    // The next line; false at the end of the text.
    bool ReadLine(std::string& line);
    // The next line; raises 62 at the end of the text.
    std::string LineInput();
    // The next line read as GBK and given as UTF-8; raises 62 at the end.
    std::string ReadGbkLine();
    bool AtEnd() const { return pos_ >= text_.size(); }

private:
    std::string text_;
    size_t pos_ = 0;
};

// All lines of a text file; with `gbk` they are converted from code page 936 to UTF-8.
std::vector<std::string> ReadTextLines(const std::string& path, bool gbk = true);

// Writes a text file line by line, each line ended by CR LF, through AtomicFileWriter.
class TextFileWriter {
public:
    explicit TextFileWriter(std::string path) : file_(std::move(path)), out_(file_) {}
    // The UTF-8 text written in code page 936, then CR LF.
    void WriteLine(std::string_view utf8);
    // Bytes written as they are, then CR LF.
    void WriteRawLine(std::string_view bytes);
    void Commit();

private:
    AtomicFileWriter file_;
    ByteWriter out_;
};

// Writes lines (UTF-8, stored in code page 936) each ended by CR LF, replacing the file safely.
void WriteTextLines(const std::string& path, const std::vector<std::string>& lines);

}  // namespace movra
