#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "basic/Files.h"
#include "basic/Paths.h"
#include "platform/fake/FixedFolders.h"

namespace movra {
namespace {

namespace fs = std::filesystem;

TEST(Paths, JoinsBackslashNamesBelowAFolder) {
    struct Case {
        const char* folder;
        const char* name;
        const char* expected;
    };
    for (Case c : {Case{"/w", "\\mytemp\\NTKuai", "/w/mytemp/NTKuai"},
                   {"/w/", "\\yourwork.ini", "/w/yourwork.ini"},
                   {"/w", "符号库\\a.Zfh", "/w/符号库/a.Zfh"},
                   {"/w", "a\\\\b//c", "/w/a/b/c"},
                   {"/w", "", "/w"},
                   {"/", "\\x", "/x"},
                   {"", "\\x", "x"}}) {
        EXPECT_EQ(JoinPath(c.folder, c.name), c.expected) << c.name;
    }
}

TEST(Paths, FileNameOfStoredPaths) {
    EXPECT_EQ(FileNameOf("C:\\图\\a.jdx"), "a.jdx");
    EXPECT_EQ(FileNameOf("/home/u/b.wtw"), "b.wtw");
    EXPECT_EQ(FileNameOf("d:\\x/y\\c.bmp"), "c.bmp");
    EXPECT_EQ(FileNameOf("plain.jpg"), "plain.jpg");
    EXPECT_EQ(FileNameOf("C:\\folder\\"), "");
}

class PathsResolve : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "movra_paths_XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        root_ = pattern;
        fs::create_directories(root_ + "/program");
        fs::create_directories(root_ + "/work");
        FixedFolders folders(root_ + "/program", root_ + "/work");
        paths_ = PathsFromFolders(folders);
    }
    void TearDown() override { fs::remove_all(root_); }
    std::string root_;
    ProgramPaths paths_;
};

TEST_F(PathsResolve, WritesGoToTheWorkFolderWithFoldersMade) {
    const std::string path = ResolveWritable(paths_, "\\mytemp\\NTKuai");
    EXPECT_EQ(path, root_ + "/work/mytemp/NTKuai");
    EXPECT_TRUE(FolderExists(root_ + "/work/mytemp"));
    WriteWholeFile(path, "x");  // the folder is there to write into
}

TEST_F(PathsResolve, ReadsLookInTheWorkFolderFirst) {
    WriteWholeFile(root_ + "/program/帮助文件.txt", "shipped");
    EXPECT_EQ(ResolveReadable(paths_, "\\帮助文件.txt"), root_ + "/program/帮助文件.txt");
    WriteWholeFile(root_ + "/work/帮助文件.txt", "own");
    EXPECT_EQ(ResolveReadable(paths_, "\\帮助文件.txt"), root_ + "/work/帮助文件.txt");
    // Neither has it: the program folder's name, which the reader reports as missing.
    EXPECT_EQ(ResolveReadable(paths_, "\\none.txt"), root_ + "/program/none.txt");
}

TEST(Paths, DefaultWorkFolderFollowsXdgDataHome) {
    const char* saved = std::getenv("XDG_DATA_HOME");
    std::string savedValue = saved ? saved : "";
    ::setenv("XDG_DATA_HOME", "/data/home", 1);
    EXPECT_EQ(DefaultWorkFolder(), "/data/home/movra");
    ::setenv("XDG_DATA_HOME", "relative", 1);  // not absolute: ignored
    EXPECT_NE(DefaultWorkFolder(), "relative/movra");
    EXPECT_TRUE(DefaultWorkFolder().ends_with("/.local/share/movra"));
    if (saved) ::setenv("XDG_DATA_HOME", savedValue.c_str(), 1);
    else ::unsetenv("XDG_DATA_HOME");
    EXPECT_TRUE(FolderExists(ExecutableFolder()));
}

}  // namespace
}  // namespace movra
