#include <gtest/gtest.h>

#include <chrono>
#include <fstream>

#include <cstdio>
#include <filesystem>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <stdexcept>

#include "basic/Errors.h"
#include "basic/Files.h"

namespace movra {
namespace {

namespace fs = std::filesystem;

int ErrorNumberOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const RuntimeError& e) {
        return e.number;
    }
    return 0;
}

class FilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "movra_files_XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string PathOf(const std::string& name) const { return dir_ + "/" + name; }
    size_t EntriesInFolder() const {
        return static_cast<size_t>(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()));
    }
    std::string dir_;
};

TEST_F(FilesTest, FixedRecordsRoundTripByRecordNumber) {
    const std::string path = PathOf("records.dat");
    {
        RecordFile file(path, 8);
        file.WriteRecord(1, "first");
        file.WriteRecord(3, "third!!!");
        EXPECT_EQ(file.RecordCount(), 3);
        EXPECT_EQ(ErrorNumberOf([&] { file.WriteRecord(2, "too long!"); }), ErrBadRecordLength);
        EXPECT_EQ(ErrorNumberOf([&] { file.WriteRecord(0, "x"); }), ErrBadRecordNumber);
    }
    RecordFile file(path, 8, RecordFile::Mode::ReadOnly);
    EXPECT_EQ(file.ReadRecord(1), std::string("first\0\0\0", 8));
    EXPECT_EQ(file.ReadRecord(2), std::string(8, '\0'));  // the gap reads as zero bytes
    EXPECT_EQ(file.ReadRecord(3), "third!!!");
    EXPECT_EQ(FileLength(path), 24);
    EXPECT_EQ(ErrorNumberOf([&] { file.ReadRecord(4); }), ErrInputPastEnd);
    EXPECT_EQ(ErrorNumberOf([&] { file.ReadRecord(-1); }), ErrBadRecordNumber);
    EXPECT_EQ(ErrorNumberOf([&] { file.WriteRecord(1, "x"); }), ErrBadFileMode);

    // A record cut short at the end of the file is past the end too.
    WriteWholeFile(PathOf("short.dat"), "12345678abc");
    RecordFile shortFile(PathOf("short.dat"), 8, RecordFile::Mode::ReadOnly);
    EXPECT_EQ(shortFile.RecordCount(), 1);
    EXPECT_EQ(ErrorNumberOf([&] { shortFile.ReadRecord(2); }), ErrInputPastEnd);
    EXPECT_EQ(ErrorNumberOf([&] { RecordFile bad(path, 0); }), ErrBadRecordLength);
}

TEST_F(FilesTest, BinaryValuesRoundTripLittleEndian) {
    ByteWriter out;
    out.WriteInt8(-2);
    out.WriteByte(200);
    out.WriteInt16(-300);
    out.WriteInt32(0x12345678);
    out.WriteFloat(2.5f);
    out.WriteDouble(-1.0 / 3);
    out.WriteFixedGbk("宋体宋体", 7);  // 3 whole characters and a blank
    out.WriteCountedGbk("层1");
    EXPECT_EQ(out.Bytes().substr(2, 6), std::string("\xD4\xFE\x78\x56\x34\x12", 6));
    EXPECT_EQ(out.Bytes().substr(20, 7), "\xCB\xCE\xCC\xE5\xCB\xCE ");

    ByteReader in(out.Bytes());
    EXPECT_EQ(in.ReadInt8(), -2);
    EXPECT_EQ(in.ReadByte(), 200);
    EXPECT_EQ(in.ReadInt16(), -300);
    EXPECT_EQ(in.ReadInt32(), 0x12345678);
    EXPECT_EQ(in.ReadFloat(), 2.5f);
    EXPECT_EQ(in.ReadDouble(), -1.0 / 3);
    EXPECT_EQ(in.ReadFixedGbk(7), "宋体宋 ");
    EXPECT_EQ(in.ReadCountedGbk(), "层1");
    EXPECT_TRUE(in.AtEnd());
    EXPECT_EQ(ErrorNumberOf([&] { in.ReadInt8(); }), ErrInputPastEnd);
}

TEST_F(FilesTest, ReadingPastTheEndRaisesAndReadsNothing) {
    const std::string bytes("\x01\x02\x03", 3);
    ByteReader in(bytes);
    EXPECT_EQ(ErrorNumberOf([&] { in.ReadInt32(); }), ErrInputPastEnd);
    EXPECT_EQ(in.Position(), 0u);
    EXPECT_EQ(in.ReadInt16(), 0x0201);
    EXPECT_EQ(ErrorNumberOf([&] { in.ReadBytes(2); }), ErrInputPastEnd);
    // A counted text whose count runs beyond the data.
    const std::string countedBytes("\x10\x00" "ab", 4);
    ByteReader counted(countedBytes);
    EXPECT_EQ(ErrorNumberOf([&] { counted.ReadCountedGbk(); }), ErrInputPastEnd);
}

TEST_F(FilesTest, BinaryFileWrittenThroughAWriterInStretches) {
    const std::string path = PathOf("big.bin");
    {
        AtomicFileWriter file(path);
        ByteWriter out(file);
        for (int i = 0; i < 300000; ++i) out.WriteInt32(i);  // more than one stretch
        out.Flush();
        file.Commit();
    }
    const std::string bytes = ReadWholeFile(path);
    ASSERT_EQ(bytes.size(), 1200000u);
    ByteReader in(bytes);
    in.Seek(4 * 299999);
    EXPECT_EQ(in.ReadInt32(), 299999);
}

TEST_F(FilesTest, TextLinesAcceptEveryLineEnd) {
    const std::string path = PathOf("lines.txt");
    WriteWholeFile(path, "one\ntwo\r\n\r\nfour\rfive\n\xCB\xCE\xCC\xE5");
    EXPECT_EQ(ReadTextLines(path), (std::vector<std::string>{"one", "two", "", "four", "five", "宋体"}));
    EXPECT_EQ(ReadTextLines(path, false).back(), "\xCB\xCE\xCC\xE5");

    TextLineReader reader("a\n\n");
    EXPECT_EQ(reader.LineInput(), "a");
    EXPECT_EQ(reader.LineInput(), "");
    EXPECT_TRUE(reader.AtEnd());
    EXPECT_EQ(ErrorNumberOf([&] { reader.LineInput(); }), ErrInputPastEnd);

    WriteWholeFile(PathOf("empty.txt"), "");
    EXPECT_TRUE(ReadTextLines(PathOf("empty.txt")).empty());
}

TEST_F(FilesTest, TextLinesAreWrittenWithCrLfInGbk) {
    const std::string path = PathOf("out.txt");
    WriteTextLines(path, {"层1", "", "ab"});
    EXPECT_EQ(ReadWholeFile(path), "\xB2\xE3" "1\r\n\r\nab\r\n");
    EXPECT_EQ(ReadTextLines(path), (std::vector<std::string>{"层1", "", "ab"}));
}

TEST_F(FilesTest, FailedAtomicWriteLeavesTheOldFileIntact) {
    const std::string path = PathOf("map.jdx");
    WriteWholeFile(path, "old contents");
    try {
        AtomicFileWriter writer(path);
        writer.Write("new, but never fini");
        throw std::runtime_error("failure in the middle of a save");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(ReadWholeFile(path), "old contents");
    EXPECT_EQ(EntriesInFolder(), 1u);  // no temporary file left behind

    {
        AtomicFileWriter writer(path);
        writer.Write("new contents");
        writer.Commit();
        EXPECT_EQ(ErrorNumberOf([&] { writer.Write("more"); }), ErrBadFileNameOrNumber);
    }
    EXPECT_EQ(ReadWholeFile(path), "new contents");
    EXPECT_EQ(EntriesInFolder(), 1u);
}

// What a save replaces is let go without the save waiting on it: a pipe of the name is never
// opened for its writer, and whoever still reads the old file reads it whole.
TEST_F(FilesTest, ASaveReplacesWhatHasTheNameWithoutWaitingOnIt) {
    const std::string pipe = PathOf("pipe.jdx");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);
    WriteWholeFile(pipe, "map");
    EXPECT_TRUE(fs::is_regular_file(pipe));
    EXPECT_EQ(ReadWholeFile(pipe), "map");


    const std::string big = PathOf("big.jdx");
    const std::string old(3 << 20, 'o');
    WriteWholeFile(big, old);
    std::FILE* reader = std::fopen(big.c_str(), "rb");
    ASSERT_NE(reader, nullptr);
    WriteWholeFile(big, "small");
    std::string held(old.size() + 1, '\0');
    EXPECT_EQ(std::fread(held.data(), 1, held.size(), reader), old.size());
    std::fclose(reader);
    held.resize(old.size());
    EXPECT_EQ(held, old);
    EXPECT_EQ(ReadWholeFile(big), "small");
}

// A save through a symbolic link updates the file the link names and keeps the link: absolute and
// relative links, a chain of links, and a link to a file not yet there. A loop of links is refused.
TEST_F(FilesTest, ASaveThroughALinkWritesTheFileItNames) {
    fs::create_directory(PathOf("maps"));
    const std::string target = PathOf("maps/target.jdx");
    WriteWholeFile(target, "old");
    struct Case {
        const char* link;
        const char* pointsTo;  // relative to the link's folder unless absolute
        std::string written;
    };
    const Case cases[] = {
        {"absolute.jdx", nullptr, target},
        {"relative.jdx", "maps/target.jdx", target},
        {"chain.jdx", "relative.jdx", target},
        {"dangling.jdx", "maps/new.jdx", PathOf("maps/new.jdx")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.link);
        const std::string link = PathOf(c.link);
        fs::create_symlink(c.pointsTo ? std::string(c.pointsTo) : target, link);
        const std::string contents = std::string("saved through ") + c.link;
        AtomicFileWriter writer(link);
        EXPECT_EQ(writer.Path(), c.written);
        writer.Write(contents);
        writer.Commit();
        EXPECT_TRUE(fs::is_symlink(link));
        EXPECT_EQ(ReadWholeFile(c.written), contents);
    }
    EXPECT_EQ(EntriesInFolder(), 5u);                 // the folder and the four links
    EXPECT_EQ(std::distance(fs::directory_iterator(PathOf("maps")), fs::directory_iterator()), 2);  // no temporary

    fs::create_symlink(PathOf("loop2"), PathOf("loop1"));
    fs::create_symlink(PathOf("loop1"), PathOf("loop2"));
    EXPECT_EQ(ErrorNumberOf([&] { WriteWholeFile(PathOf("loop1"), "x"); }), ErrPathFileAccess);
}

// A save killed midway leaves its temporary file. The next run's first save of the same file
// removes one of this machine at once, unless the process that wrote it still runs; one of another
// machine (a save on a shared folder), or one named before names carried the machine, only once it
// has not been touched for some minutes; never one of another file.
TEST_F(FilesTest, TheNextSaveRemovesTheTemporaryOfAKilledSave) {
    const std::string path = PathOf("map.jdx");
    { std::ofstream(path) << "old"; }  // this run has not saved into the folder yet
    const pid_t killed = ::fork();
    ASSERT_GE(killed, 0);
    if (killed == 0) {
        AtomicFileWriter writer(path);
        writer.Write("half a ma");
        ::_exit(0);  // no destructor runs: the temporary stays, as after a kill
    }
    int status = 0;
    ASSERT_EQ(::waitpid(killed, &status, 0), killed);
    std::string leftover;
    for (const auto& entry : fs::directory_iterator(dir_))
        if (entry.path().filename().string().starts_with("map.jdx.~")) leftover = entry.path().filename();
    // "map.jdx.~<host>_<pid>_<n>.tmp"
    const std::string pid = std::to_string(killed);
    const size_t hostEnd = leftover.find("_" + pid + "_");
    ASSERT_NE(hostEnd, std::string::npos) << leftover;
    const std::string host = leftover.substr(9, hostEnd - 9);
    ASSERT_FALSE(host.empty());
    const struct {
        std::string name;
        bool old;  // last written an hour ago, else just now
        bool stays;
    } cases[] = {
        {leftover, false, false},                                                     // this machine's: at once
        {"map.jdx.~" + host + "_" + std::to_string(::getppid()) + "_0.tmp", true, true},  // a save still running
        {"map.jdx.~far-host_" + pid + "_0.tmp", false, true},                        // another machine's, recent
        {"map.jdx.~far-host_" + pid + "_1.tmp", true, false},                        // another machine's, old
        {"map.jdx.~" + pid + "_0.tmp", false, true},                                 // named without the machine
        {"map.jdx.~" + pid + "_1.tmp", true, false},
        {"other.jdx.~" + host + "_" + pid + "_0.tmp", true, true},                   // another file's
    };
    for (const auto& c : cases) {
        if (c.name != leftover) std::ofstream(PathOf(c.name)) << "x";
        if (c.old) fs::last_write_time(PathOf(c.name), fs::file_time_type::clock::now() - std::chrono::hours(1));
    }

    WriteWholeFile(path, "new");
    EXPECT_EQ(ReadWholeFile(path), "new");
    for (const auto& c : cases) EXPECT_EQ(fs::exists(PathOf(c.name)), c.stays) << c.name;
    EXPECT_EQ(EntriesInFolder(), 5u);  // the map and the four kept
}

TEST_F(FilesTest, FailuresCarryTheOldNumbers) {
    EXPECT_EQ(ErrorNumberOf([&] { ReadWholeFile(PathOf("missing.txt")); }), ErrFileNotFound);
    EXPECT_EQ(ErrorNumberOf([&] { ReadTextLines(PathOf("missing.txt")); }), ErrFileNotFound);
    EXPECT_EQ(ErrorNumberOf([&] { ReadWholeFile(PathOf("no/such/folder.txt")); }), ErrPathNotFound);
    EXPECT_EQ(ErrorNumberOf([&] { WriteWholeFile(PathOf("no/folder.txt"), "x"); }), ErrPathNotFound);
    EXPECT_EQ(ErrorNumberOf([&] { FileLength(PathOf("missing.txt")); }), ErrFileNotFound);
    EXPECT_EQ(ErrorNumberOf([&] { DeleteFile(PathOf("missing.txt")); }), ErrFileNotFound);
    EXPECT_EQ(ErrorNumberOf([&] { ReadWholeFile(dir_); }), ErrPathFileAccess);
    EXPECT_EQ(ErrorNumberOf([&] { WriteWholeFile(dir_, "x"); }), ErrPathFileAccess);
    EXPECT_EQ(ErrorNumberOf([&] { RecordFile f(PathOf("missing.dat"), 4, RecordFile::Mode::ReadOnly); }),
              ErrFileNotFound);
    EXPECT_EQ(ErrorNumberOf([&] { ReadWholeFile(""); }), ErrBadFileName);
    EXPECT_EQ(ErrorNumberOf([&] { ReadWholeFile(PathOf(std::string(300, 'n'))); }), ErrBadFileName);
}

TEST_F(FilesTest, ExistenceLengthDeletionAndFolders) {
    const std::string path = PathOf("a/b/c.txt");
    EXPECT_FALSE(FileExists(path));
    CreateFolders(PathOf("a/b"));
    EXPECT_TRUE(FolderExists(PathOf("a/b")));
    EXPECT_FALSE(FileExists(PathOf("a/b")));
    WriteWholeFile(path, "12345");
    EXPECT_TRUE(FileExists(path));
    EXPECT_EQ(FileLength(path), 5);
    DeleteFile(path);
    EXPECT_FALSE(FileExists(path));
}

}  // namespace
}  // namespace movra
