#include "basic/Files.h"

#include <atomic>
#include <bit>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <signal.h>
#include <fcntl.h>
#include <limits>
#include <map>
#include <mutex>
#include <optional>
#include <thread>
#include <sys/stat.h>
#include <type_traits>
#include <unistd.h>

#include "basic/Errors.h"
#include "basic/Gbk.h"

namespace movra {

namespace {

std::string ParentFolder(const std::string& path) {
    size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// A missing file is 53, but a missing folder on the way to it is 76.
[[noreturn]] void RaiseForPath(int errnoValue, const std::string& path) {
    if (errnoValue == ENOENT && !FolderExists(ParentFolder(path))) Raise(ErrPathNotFound);
    RaiseFileError(errnoValue);
}

}  // namespace

void IgnoreFileSizeSignal() { ::signal(SIGXFSZ, SIG_IGN); }

void RaiseFileError(int errnoValue) {
    switch (errnoValue) {
        case ENOENT: Raise(ErrFileNotFound);
        case ENOTDIR: Raise(ErrPathNotFound);
        case EACCES:
        case EPERM:
        case EROFS: Raise(ErrPermissionDenied);
        case ENOSPC:
#ifdef EDQUOT
        case EDQUOT:
#endif
        case EFBIG: Raise(ErrDiskFull);
        case EIO: Raise(ErrDeviceIo);
        case ENAMETOOLONG: Raise(ErrBadFileName);
        case EEXIST: Raise(ErrFileExists);
        case ENOMEM: Raise(ErrOutOfMemory);
        default: Raise(ErrPathFileAccess);
    }
}

bool FileExists(const std::string& path) {
    struct stat st;
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool FolderExists(const std::string& path) {
    struct stat st;
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::int64_t FileLength(const std::string& path) {
    struct stat st;
    if (path.empty()) Raise(ErrBadFileName);
    if (::stat(path.c_str(), &st) != 0) RaiseForPath(errno, path);
    if (!S_ISREG(st.st_mode)) Raise(ErrPathFileAccess);
    return st.st_size;
}

void DeleteFile(const std::string& path) {
    if (path.empty()) Raise(ErrBadFileName);
    if (FolderExists(path)) Raise(ErrPathFileAccess);
    if (::unlink(path.c_str()) != 0) RaiseForPath(errno, path);
}

void CreateFolders(const std::string& path) {
    if (path.empty() || FolderExists(path)) return;
    std::string parent = ParentFolder(path);
    if (parent != path && parent != "." && parent != "/") CreateFolders(parent);
    if (::mkdir(path.c_str(), 0777) != 0 && errno != EEXIST) RaiseForPath(errno, path);
    if (!FolderExists(path)) Raise(ErrPathFileAccess);
}

void RequireRegularFile(const std::string& path) {
    if (path.empty()) Raise(ErrBadFileName);
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) RaiseForPath(errno, path);
    if (!S_ISREG(st.st_mode)) throw RuntimeError(ErrPathFileAccess, NotRegularFileText);
}

std::string ReadWholeFile(const std::string& path) {
    // A pipe or a device would block the program in open() or read() until someone writes to it.
    RequireRegularFile(path);
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) RaiseForPath(errno, path);
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        throw RuntimeError(ErrPathFileAccess, NotRegularFileText);
    }
    std::string bytes;
    bytes.reserve(static_cast<size_t>(st.st_size));
    char buffer[1 << 16];
    for (;;) {
        ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR) continue;
            int error = errno;
            ::close(fd);
            RaiseFileError(error);
        }
        if (got == 0) break;
        bytes.append(buffer, static_cast<size_t>(got));
    }
    ::close(fd);
    return bytes;
}

void WriteWholeFile(const std::string& path, std::string_view bytes) {
    AtomicFileWriter writer(path);
    writer.Write(bytes);
    writer.Commit();
}

// ---------------------------------------------------------------------------------------------
// AtomicFileWriter

namespace {

// The file a path names once its links are followed; a link to a file not yet there names the file
// to create. Relative links are taken from the link's own folder.
std::string ResolveLinks(std::string path) {
    constexpr int MaxLinks = 40;  // as the system gives up on a loop of links
    for (int hops = 0;; ++hops) {
        struct stat st;
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
        if (hops == MaxLinks) RaiseFileError(ELOOP);
        std::string target(static_cast<size_t>(st.st_size > 0 ? st.st_size : 255) + 1, '\0');
        const ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
        if (n < 0) RaiseFileError(errno);
        target.resize(static_cast<size_t>(n));
        if (target.empty()) RaiseFileError(ENOENT);
        path = target.front() == '/' ? target : ParentFolder(path) + "/" + target;
    }
}

// "<name>.~<host>_<pid>_<n>.tmp": the temporary file a save of `name` writes before it renames it.
constexpr std::string_view TempMarker = ".~";
constexpr std::string_view TempSuffix = ".tmp";

// This machine's name as temporary names carry it: letters, digits, "-" and "." only, so that it
// never holds the "_" the name is parted by.
const std::string& HostTag() {
    static const std::string tag = [] {
        char name[256] = {};
        if (::gethostname(name, sizeof name - 1) != 0) name[0] = '\0';
        std::string t;
        for (const char* p = name; *p && t.size() < 64; ++p) {
            const char c = *p;
            const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.';
            t += plain ? c : '-';
        }
        return t.empty() ? std::string("host") : t;
    }();
    return tag;
}

// A save that was killed midway leaves its temporary file beside the target; the next save of the
// same file removes it. A leftover of this machine is known by its host and process number: it
// goes at once unless that process still runs (another run of the program may be saving). One of
// another machine on a shared folder names a process that means nothing here: it goes only once
// it has not been touched for some minutes, as does one named before temporaries carried their
// host. A folder is listed once per run, not once per save: a division writes thousands of
// sheets into one folder, and a save killed during this run can only have been another program's,
// which its own next run cleans up.
constexpr time_t LeftoverAgeSeconds = 600;

struct LeftoverName {
    std::string host;  // empty in a name without one
    pid_t writer = 0;
};

// The host and process of a temporary name "<file>.~[<host>_]<pid>_<n>.tmp"; none for any other
// name.
std::optional<LeftoverName> ParseLeftoverName(std::string_view name) {
    const size_t marker = name.rfind(TempMarker);
    if (marker == std::string_view::npos || marker == 0 || !name.ends_with(TempSuffix)) return std::nullopt;
    const size_t from = marker + TempMarker.size();
    if (name.size() <= from + TempSuffix.size()) return std::nullopt;
    std::string_view middle = name.substr(from, name.size() - from - TempSuffix.size());
    auto digits = [](std::string_view t) {
        return !t.empty() && t.find_first_not_of("0123456789") == std::string_view::npos;
    };
    const size_t last = middle.rfind('_');
    if (last == std::string_view::npos || !digits(middle.substr(last + 1))) return std::nullopt;
    middle = middle.substr(0, last);
    LeftoverName parsed;
    if (const size_t hostEnd = middle.rfind('_'); hostEnd != std::string_view::npos) {
        parsed.host = std::string(middle.substr(0, hostEnd));
        middle = middle.substr(hostEnd + 1);
        if (parsed.host.empty() || parsed.host.find('_') != std::string::npos) return std::nullopt;
    }
    if (!digits(middle) || middle.size() > 9) return std::nullopt;
    parsed.writer = static_cast<pid_t>(std::stol(std::string(middle)));
    return parsed;
}

// The leftover candidates of each folder met, listed when the first save into it began.
std::vector<std::string> LeftoverCandidates(const std::string& folder) {
    static std::mutex guard;
    static std::map<std::string, std::vector<std::string>> listed;
    const std::lock_guard<std::mutex> lock(guard);
    if (const auto known = listed.find(folder); known != listed.end()) return known->second;
    std::vector<std::string>& names = listed[folder];
    if (DIR* dir = ::opendir(folder.c_str())) {
        while (const dirent* entry = ::readdir(dir))
            if (ParseLeftoverName(entry->d_name)) names.emplace_back(entry->d_name);
        ::closedir(dir);
    }
    return names;
}

void RemoveLeftoverTemporaries(const std::string& path) {
    const std::string folder = ParentFolder(path);
    const size_t slash = path.find_last_of('/');
    const std::string prefix = (slash == std::string::npos ? path : path.substr(slash + 1)) + std::string(TempMarker);
    const time_t now = ::time(nullptr);
    for (const std::string& name : LeftoverCandidates(folder)) {
        // Only this file's, and only a name with nothing after the marker but its host and numbers.
        if (!name.starts_with(prefix) || name.find(TempMarker, prefix.size()) != std::string::npos) continue;
        const std::optional<LeftoverName> parsed = ParseLeftoverName(name);
        if (!parsed) continue;
        const bool ours = parsed->host == HostTag();
        // The folder was listed before this run wrote into it: a name with this process's number
        // is an earlier run's that had the same number.
        if (ours && parsed->writer != ::getpid() && (::kill(parsed->writer, 0) == 0 || errno != ESRCH)) continue;
        const std::string leftover = folder + "/" + name;
        struct stat st;
        // Only a regular file is a leftover of ours.
        if (::lstat(leftover.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
        if (ours || now - st.st_mtime >= LeftoverAgeSeconds) ::unlink(leftover.c_str());
    }
}

// Makes a rename in the folder last through a power cut: the file's data is synced already, the
// folder's entry for it is synced here. Best effort: some file systems cannot sync a folder.
void SyncFolder(const std::string& folder) {
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0) return;
    ::fsync(dir);
    ::close(dir);
}

void SyncFolderOf(const std::string& path) { SyncFolder(ParentFolder(path)); }

void LetGoInBackground(int descriptor) {
    try {
        std::thread([descriptor] { ::close(descriptor); }).detach();
    } catch (...) {
        ::close(descriptor);  // no thread to be had: here, then
    }
}

}  // namespace

AtomicFileWriter::AtomicFileWriter(std::string path) : path_(std::move(path)) {
    if (path_.empty() || path_.back() == '/') Raise(ErrBadFileName);
    // Saving through a link saves the file it names; the link itself stays a link.
    path_ = ResolveLinks(path_);
    if (FolderExists(path_)) Raise(ErrPathFileAccess);
    RemoveLeftoverTemporaries(path_);
    // Keep the permissions of the file being replaced; a new file gets the usual ones.
    mode_t mode = 0666;
    struct stat st;
    if (::stat(path_.c_str(), &st) == 0) {
        mode = st.st_mode & 07777;
        // The rename below would replace the file whatever its own protection says: a file the
        // user may not write is refused, as opening it for writing would be.
        if (::faccessat(AT_FDCWD, path_.c_str(), W_OK, AT_EACCESS) != 0) RaiseFileError(errno);
    }
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0;; ++attempt) {
        tempPath_ = path_ + std::string(TempMarker) + HostTag() + "_" + std::to_string(::getpid()) + "_" +
                    std::to_string(counter++) + std::string(TempSuffix);
        int fd = ::open(tempPath_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0) {
            file_ = ::fdopen(fd, "wb");
            if (!file_) {
                ::close(fd);
                ::unlink(tempPath_.c_str());
                Raise(ErrOutOfMemory);
            }
            return;
        }
        if (errno != EEXIST || attempt > 100) RaiseForPath(errno, tempPath_);
    }
}

AtomicFileWriter::~AtomicFileWriter() { Discard(); }

void AtomicFileWriter::Discard() {
    if (file_) {
        std::fclose(file_);
        file_ = nullptr;
        ::unlink(tempPath_.c_str());
    }
}

void AtomicFileWriter::Write(std::string_view bytes) {
    if (!file_) Raise(ErrBadFileNameOrNumber);  // already committed or discarded
    if (bytes.empty()) return;
    if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) {
        int error = errno;
        Discard();
        RaiseFileError(error);
    }
    written_ += bytes.size();
#ifdef __linux__
    // A large file is sent on to the disk while the rest is still being made, so that the sync
    // that commits it waits for little more than the last stretch.
    if (written_ - sentToDisk_ >= EarlyWritebackBytes && std::fflush(file_) == 0) {
        ::sync_file_range(::fileno(file_), static_cast<off_t>(sentToDisk_), static_cast<off_t>(written_ - sentToDisk_),
                          SYNC_FILE_RANGE_WRITE);
        sentToDisk_ = written_;
    }
#endif
}

void AtomicFileWriter::Commit(PendingFolderSyncs* later) {
    if (!file_) Raise(ErrBadFileNameOrNumber);
    if (std::fflush(file_) != 0 || ::fsync(::fileno(file_)) != 0) {
        int error = errno;
        Discard();
        RaiseFileError(error);
    }
    std::FILE* f = file_;
    file_ = nullptr;
    if (std::fclose(f) != 0) {
        int error = errno;
        ::unlink(tempPath_.c_str());
        RaiseFileError(error);
    }
    // The file being replaced is let go on another thread: the last reference to a large file
    // frees its pages and blocks, which takes about as long as writing a third of it.
    // Not waiting on a pipe that has the name.
    int replaced = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW);
    struct stat held;
    if (replaced >= 0 && (::fstat(replaced, &held) != 0 || !S_ISREG(held.st_mode))) {
        ::close(replaced);
        replaced = -1;
    }
    if (::rename(tempPath_.c_str(), path_.c_str()) != 0) {
        int error = errno;
        if (replaced >= 0) ::close(replaced);
        ::unlink(tempPath_.c_str());
        RaiseFileError(error);
    }
    if (later)
        later->AddFolderOf(path_);
    else
        SyncFolderOf(path_);
    if (replaced >= 0) LetGoInBackground(replaced);
}

void PendingFolderSyncs::AddFolderOf(const std::string& path) { folders_.insert(ParentFolder(path)); }

void PendingFolderSyncs::Sync() {
    for (const std::string& folder : folders_) SyncFolder(folder);
    folders_.clear();
}

// ---------------------------------------------------------------------------------------------
// ByteWriter / ByteReader

namespace {

template <class T>
void AppendLittleEndian(std::string& out, T value) {
    static_assert(std::is_trivially_copyable_v<T>);
    unsigned char raw[sizeof(T)];
    std::memcpy(raw, &value, sizeof(T));
    if constexpr (std::endian::native == std::endian::big) {
        for (size_t i = sizeof(T); i-- > 0;) out += static_cast<char>(raw[i]);
    } else {
        out.append(reinterpret_cast<const char*>(raw), sizeof(T));
    }
}

template <class T>
T FromLittleEndian(const char* p) {
    unsigned char raw[sizeof(T)];
    if constexpr (std::endian::native == std::endian::big) {
        for (size_t i = 0; i < sizeof(T); ++i) raw[i] = static_cast<unsigned char>(p[sizeof(T) - 1 - i]);
    } else {
        std::memcpy(raw, p, sizeof(T));
    }
    T value;
    std::memcpy(&value, raw, sizeof(T));
    return value;
}

}  // namespace

void ByteWriter::WriteInt16(std::int16_t v) { AppendLittleEndian(bytes_, v); FlushIfFull(); }
void ByteWriter::WriteInt32(std::int32_t v) { AppendLittleEndian(bytes_, v); FlushIfFull(); }
void ByteWriter::WriteFloat(float v) { AppendLittleEndian(bytes_, v); FlushIfFull(); }
void ByteWriter::WriteDouble(double v) { AppendLittleEndian(bytes_, v); FlushIfFull(); }

void ByteWriter::WriteBytes(std::string_view bytes) {
    bytes_.append(bytes);
    FlushIfFull();
}

void ByteWriter::WriteFixedGbk(std::string_view utf8, size_t width, char pad) {
    std::string field = ToGbkField(utf8, width);
    field.resize(width, pad);
    WriteBytes(field);
}

void ByteWriter::WriteCountedGbk(std::string_view utf8) {
    std::string gbk = ToGbkField(utf8, std::numeric_limits<std::int16_t>::max());
    WriteInt16(static_cast<std::int16_t>(gbk.size()));
    WriteBytes(gbk);
}

std::string ByteWriter::TakeBytes() {
    std::string out;
    out.swap(bytes_);
    return out;
}

void ByteWriter::Flush() {
    if (!sink_) return;
    sink_->Write(bytes_);
    bytes_.clear();
}

const char* ByteReader::Take(size_t count) {
    if (count > Remaining()) Raise(ErrInputPastEnd);
    const char* p = bytes_.data() + pos_;
    pos_ += count;
    return p;
}

std::int8_t ByteReader::ReadInt8() { return static_cast<std::int8_t>(*Take(1)); }
std::uint8_t ByteReader::ReadByte() { return static_cast<std::uint8_t>(*Take(1)); }
std::int16_t ByteReader::ReadInt16() { return FromLittleEndian<std::int16_t>(Take(2)); }
std::int32_t ByteReader::ReadInt32() { return FromLittleEndian<std::int32_t>(Take(4)); }
float ByteReader::ReadFloat() { return FromLittleEndian<float>(Take(4)); }
double ByteReader::ReadDouble() { return FromLittleEndian<double>(Take(8)); }

std::string_view ByteReader::ReadBytes(size_t count) { return std::string_view(Take(count), count); }

std::string ByteReader::ReadFixedGbk(size_t width) { return FromGbk(ReadBytes(width)); }

std::string ByteReader::ReadCountedGbk() {
    std::int16_t count = ReadInt16();
    if (count <= 0) return std::string();
    return FromGbk(ReadBytes(static_cast<size_t>(count)));
}

void ByteReader::Skip(size_t count) { Take(count); }

void ByteReader::Seek(size_t position) {
    if (position > bytes_.size()) Raise(ErrInputPastEnd);
    pos_ = position;
}

// ---------------------------------------------------------------------------------------------
// RecordFile

RecordFile::RecordFile(const std::string& path, size_t recordLength, Mode mode) : length_(recordLength) {
    if (recordLength == 0 || recordLength > (1u << 30)) Raise(ErrBadRecordLength);
    if (path.empty()) Raise(ErrBadFileName);
    if (FolderExists(path)) Raise(ErrPathFileAccess);
    struct stat st;
    if (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) throw RuntimeError(ErrPathFileAccess, NotRegularFileText);
    int flags = mode == Mode::ReadOnly ? O_RDONLY : (O_RDWR | O_CREAT);
    fd_ = ::open(path.c_str(), flags | O_CLOEXEC, 0666);
    if (fd_ < 0) RaiseForPath(errno, path);
}

RecordFile::~RecordFile() {
    if (fd_ >= 0) ::close(fd_);
}

namespace {
off_t RecordOffset(std::int64_t n, size_t length) {
    if (n < 1) Raise(ErrBadRecordNumber);
    if (n - 1 > std::numeric_limits<off_t>::max() / static_cast<std::int64_t>(length) - 1)
        Raise(ErrBadRecordNumber);
    return static_cast<off_t>((n - 1) * static_cast<std::int64_t>(length));
}
}  // namespace

std::string RecordFile::ReadRecord(std::int64_t n) const {
    off_t offset = RecordOffset(n, length_);
    std::string record(length_, '\0');
    size_t done = 0;
    while (done < length_) {
        ssize_t got = ::pread(fd_, record.data() + done, length_ - done, offset + static_cast<off_t>(done));
        if (got < 0) {
            if (errno == EINTR) continue;
            RaiseFileError(errno);
        }
        if (got == 0) Raise(ErrInputPastEnd);
        done += static_cast<size_t>(got);
    }
    return record;
}

void RecordFile::WriteRecord(std::int64_t n, std::string_view bytes) {
    if (bytes.size() > length_) Raise(ErrBadRecordLength);
    off_t offset = RecordOffset(n, length_);
    std::string record(bytes);
    record.resize(length_, '\0');
    size_t done = 0;
    while (done < length_) {
        ssize_t put = ::pwrite(fd_, record.data() + done, length_ - done, offset + static_cast<off_t>(done));
        if (put < 0) {
            if (errno == EINTR) continue;
            if (errno == EBADF) Raise(ErrBadFileMode);  // opened for reading only
            RaiseFileError(errno);
        }
        done += static_cast<size_t>(put);
    }
}

std::int64_t RecordFile::RecordCount() const {
    struct stat st;
    if (::fstat(fd_, &st) != 0) RaiseFileError(errno);
    return st.st_size / static_cast<std::int64_t>(length_);
}

// ---------------------------------------------------------------------------------------------
// Text lines

bool TextLineReader::ReadLine(std::string& line) {
    if (pos_ >= text_.size()) return false;
    size_t end = text_.find_first_of("\r\n", pos_);
    if (end == std::string::npos) {
        line.assign(text_, pos_, std::string::npos);
        pos_ = text_.size();
        return true;
    }
    line.assign(text_, pos_, end - pos_);
    pos_ = end + 1;
    if (text_[end] == '\r' && pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
    return true;
}

std::string TextLineReader::LineInput() {
    std::string line;
    if (!ReadLine(line)) Raise(ErrInputPastEnd);
    return line;
}

std::string TextLineReader::ReadGbkLine() { return FromGbk(LineInput()); }

std::vector<std::string> ReadTextLines(const std::string& path, bool gbk) {
    TextLineReader reader = TextLineReader::FromFile(path);
    std::vector<std::string> lines;
    std::string line;
    while (reader.ReadLine(line)) lines.push_back(gbk ? FromGbk(line) : line);
    return lines;
}

void TextFileWriter::WriteLine(std::string_view utf8) { WriteRawLine(ToGbk(utf8)); }

void TextFileWriter::WriteRawLine(std::string_view bytes) {
    out_.WriteBytes(bytes);
    out_.WriteBytes("\r\n");
}

void TextFileWriter::Commit() {
    out_.Flush();
    file_.Commit();
}

void WriteTextLines(const std::string& path, const std::vector<std::string>& lines) {
    TextFileWriter writer(path);
    for (const auto& line : lines) writer.WriteLine(line);
    writer.Commit();
}

}  // namespace movra
