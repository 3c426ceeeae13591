// Every writer that replaces a file, driven through the command that reaches it, against the
// faults a save meets: a read-only folder, a full disk, a folder where the file should be, and a
// symbolic link in its place. A failed save leaves the old file as it was and no temporary file
// beside it, and the user is told; a save through a link updates the file the link names.
#include <gtest/gtest.h>

#include <pwd.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <set>
#include <string>

#include "App.h"
#include "basic/Files.h"
#include "display/CanvasPictures.h"
#include "document/BlockFile.h"
#include "document/SaveDialogs.h"
#include "document/SaveFailure.h"
#include "document/StoreRecord.h"
#include "platform/fake/RecordingSurface.h"
#include "sheets/SheetFiles.h"
#include "sheets/SheetFilesFixture.h"
#include "sheets/SheetIndex.h"
#include "shell/InstallSeams.h"
#include "shell/StartUp.h"
#include "shell/stForm1.h"
#include "symbols/ZfhFile.h"
#include "support/TestApp.h"

namespace movra {
namespace {

namespace fs = std::filesystem;

constexpr double SheetX = 1000, SheetY = 2000, SheetSide = 250;  // a sheet at 1:500

// One run of the program with a small map, whose work folder receives every file written.
struct SavingRun {
    SavingRun() {
        InstallExportSeams(app);
        test::MakeSheetMap(app, 500, 1);
        test::AddTo(app, 1, 2, {SheetX + 10, SheetY + 10, SheetX + 200, SheetY + 100});
        test::AddTo(app, 1, 7, {SheetX + 50, SheetY + 60}, "井");
        test::AddTo(app, 1, 7, {SheetX + 70, SheetY + 80}, "塔");
        app.sheets.SheetOutputFolder = t.workFolder.Str() + "/";
        EXPECT_TRUE(BuildSheetFrameTemplate(app, test::SampleFrameTexts()));
        static_cast<RecordingSurface&>(t.form1.Picture1.surface()).Resize(80, 60);
        t.platform.promptScript.defaultAnswer = AnswerOk;
        context.failed = [this](const SheetWriteFailure&) { sheetFailureTold = true; };
    }
    std::string Path(const std::string& name) const { return t.workFolder.Str() + "/" + name; }
    bool AskedStartingWith(const std::string& text) const {
        for (const auto& q : t.platform.promptScript.questions)
            if (q.text.rfind(text, 0) == 0) return true;
        return false;
    }

    TestApp t;
    App& app = t.app;
    SheetWriteContext context{SheetX, SheetY, SheetX + SheetSide, SheetY + SheetSide, {}, {}};
    bool sheetFailureTold = false;
};

struct Writer {
    const char* name;
    std::string file;  // the file it replaces, in the work folder
    // Runs the command that writes the file; true when the user was told that it failed.
    std::function<bool(SavingRun&)> save;
    // Leaves the file as an earlier save left it; empty: a few bytes of some older version.
    std::function<void(SavingRun&)> makeOld;
};

bool ToldSaveFailed(SavingRun& r) { return r.AskedStartingWith(MapSaveFailedMessage); }

const std::vector<Writer>& Writers() {
    const std::string sheet = SheetFileName(SheetX, SheetY);
    static const std::vector<Writer> writers = {
        {"full map", "map.wtw",
         [](SavingRun& r) {
             r.t.platform.dialogScript.QueueFile(r.Path("map.wtw"), 2);
             r.t.platform.promptScript.QueueAnswer(AnswerYes);  // overwrite
             SaveAsWtwDialog(r.app);
             return ToldSaveFailed(r);
         }},
        {"compact map", "map.jdx",
         [](SavingRun& r) {
             r.t.platform.dialogScript.QueueFile(r.Path("map.jdx"), 2);
             r.t.platform.promptScript.QueueAnswer(AnswerYes);
             SaveAsJdxDialog(r.app);
             return ToldSaveFailed(r);
         }},
        {"work buffer", "clip.wtw",
         [](SavingRun& r) {
             r.app.clip.Items.assign(2, r.app.store.Get(1, 0));
             r.app.clip.ClipBufferCount = 1;
             r.t.platform.dialogScript.QueueFile(r.Path("clip.wtw"), 1);
             SaveClipDialog(r.app);
             return ToldSaveFailed(r);
         }},
        {"selection block", "sel.Qvk",
         [](SavingRun& r) {
             r.app.selection.SelectionList = {{3, 0}, {1, 0}, {1, 1}};
             r.t.platform.dialogScript.QueueFile(r.Path("sel.Qvk"), 2);
             std::string path;
             SaveSelectionAsBlock(r.app, path);
             return ToldSaveFailed(r);
         }},
        {"canvas picture", "view.bmp",
         [](SavingRun& r) {
             r.t.platform.dialogScript.QueueFile(r.Path("view.bmp"), 2);
             SaveCanvasBitmap(r.app);
             return ToldSaveFailed(r);
         }},
        {"self-made symbol", "lib.Zfh",
         [](SavingRun& r) {
             r.app.selfMade.SelfMadeSymbolFile = r.Path("lib.Zfh");
             MapRecord& m = r.app.store.At(0, 900);
             m.RecordType = 2;
             m.RecordX2 = m.RecordY2 = 5;
             r.app.store.At(0, 901) = MapRecord{};
             SaveSymbolToLibrary(r.app, "井");
             return ToldSaveFailed(r);
         }},
        {"sheet", sheet,
         [](SavingRun& r) {
             SaveSheet(r.app, SheetX, SheetY, SheetSide, r.context);
             return r.sheetFailureTold;
         },
         [](SavingRun& r) { SaveSheet(r.app, SheetX, SheetY, SheetSide, r.context); }},
        {"sheet index", SheetIndexName,
         [](SavingRun& r) {
             AppendToSheetIndex(r.app, SheetX + SheetSide, SheetY, SheetSide, "new", r.context);
             return r.sheetFailureTold;
         },
         [](SavingRun& r) { AppendToSheetIndex(r.app, SheetX, SheetY, SheetSide, "old", r.context); }},
        {"work settings", "yourwork.ini",
         [](SavingRun& r) {
             r.app.current.ModifiedFlag = 0;
             r.app.mapFile.RecentFiles[0] = "/maps/new.jdx";
             r.t.platform.promptScript.QueueAnswer(AnswerYes);  // 要退出吗？
             int cancel = 0, unloadMode = 0;
             RunShutdown(r.app, cancel, unloadMode);
             return r.AskedStartingWith("工作设置文件未能保存");
         }},
        {"DXF export", "map.dxf",
         [](SavingRun& r) {
             r.t.platform.dialogScript.QueueFile(r.Path("map.dxf"), 1);
             r.t.platform.promptScript.QueueAnswer(AnswerYes);
             SaveAsDxfDialog(r.app);
             return !r.t.form1.Text2.Text().empty();
         }},
        {"coordinate text export", "map.txt",
         [](SavingRun& r) {
             r.t.platform.dialogScript.QueueFile(r.Path("map.txt"), 3);
             r.t.platform.promptScript.QueueAnswer(AnswerYes);
             SaveAsDxfDialog(r.app);
             return !r.t.form1.Text2.Text().empty();
         }},
    };
    return writers;
}

enum class Fault { ReadOnlyFolder, FullDisk, FolderInTheWay, Link };

const char* NameOf(Fault f) {
    switch (f) {
        case Fault::ReadOnlyFolder: return "read-only folder";
        case Fault::FullDisk: return "full disk";
        case Fault::FolderInTheWay: return "folder in the way";
        case Fault::Link: return "symbolic link";
    }
    return "";
}

std::set<std::string> Entries(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(folder)) names.insert(e.path().filename().string());
    return names;
}

// Runs the save in a child process, where the fault can be set up without touching this one: the
// file size limit of a full disk, or an unprivileged user for whom a read-only folder is read-only
// (the superuser writes anywhere). The exit status is 1 when the user was told of a failure.
int SaveInChild(SavingRun& r, const Writer& w, Fault fault) {
    const pid_t child = ::fork();
    if (child < 0) return -1;
    if (child == 0) {
        if (fault == Fault::ReadOnlyFolder && ::geteuid() == 0) {
            const passwd* nobody = ::getpwnam("nobody");
            if (!nobody || ::setgid(nobody->pw_gid) != 0 || ::setuid(nobody->pw_uid) != 0) ::_exit(100);
        }
        if (fault == Fault::FullDisk) {
            rlimit limit{};
            ::getrlimit(RLIMIT_FSIZE, &limit);
            limit.rlim_cur = 16;
            ::setrlimit(RLIMIT_FSIZE, &limit);
        }
        ::_exit(w.save(r) ? 1 : 0);
    }
    int status = 0;
    if (::waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

TEST(SaveFaults, EveryWriterKeepsTheOldFileAndTellsOrSavesThroughTheLink) {
    for (const Writer& w : Writers()) {
        for (Fault fault : {Fault::ReadOnlyFolder, Fault::FullDisk, Fault::FolderInTheWay, Fault::Link}) {
            SCOPED_TRACE(std::string(w.name) + ", " + NameOf(fault));
            SavingRun r;
            const fs::path folder = r.t.workFolder.Path();
            const std::string target = r.Path(w.file);
            if (w.makeOld) {
                w.makeOld(r);
                r.sheetFailureTold = false;
            } else {
                WriteWholeFile(target, "old");
            }
            ASSERT_TRUE(FileExists(target));
            const std::string old = ReadWholeFile(target);
            std::string written = target;  // where the old bytes are kept
            switch (fault) {
                case Fault::ReadOnlyFolder: fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec |
                                                                     fs::perms::group_read | fs::perms::group_exec |
                                                                     fs::perms::others_read | fs::perms::others_exec);
                    break;
                case Fault::FullDisk: break;
                case Fault::FolderInTheWay:
                    fs::remove(target);
                    fs::create_directory(target);
                    break;
                case Fault::Link:
                    fs::create_directory(folder / "real");
                    written = (folder / "real" / w.file).string();
                    fs::rename(target, written);
                    fs::create_symlink(fs::path("real") / w.file, target);
                    break;
            }
            const std::set<std::string> before = Entries(folder);

            const int told = SaveInChild(r, w, fault);
            fs::permissions(folder, fs::perms::owner_all);

            EXPECT_EQ(Entries(folder), before);  // no temporary file left, nothing put in place
            if (fault == Fault::Link) {
                EXPECT_EQ(told, 0);
                EXPECT_TRUE(fs::is_symlink(target));
                EXPECT_NE(ReadWholeFile(written), old);
                EXPECT_EQ(Entries(folder / "real"), std::set<std::string>{w.file});
            } else if (fault == Fault::FolderInTheWay) {
                EXPECT_EQ(told, 1);
                EXPECT_TRUE(fs::is_directory(target));
            } else {
                EXPECT_EQ(told, 1);
                EXPECT_EQ(ReadWholeFile(target), old);
            }
        }
    }
}

}  // namespace
}  // namespace movra
