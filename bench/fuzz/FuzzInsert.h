#pragma once
// The insert command (插入 ▸ 合并图文件) on any bytes, over an open map, as the fuzz targets of the
// three kinds of file run it: a file it does not merge must leave the open map as it was, field for
// field, with its path, caption and flag; with `open`, a file is merged exactly when the open
// command's reader takes it.
#include <cstdlib>
#include <functional>

#include "FuzzApp.h"
#include "document/InsertDrawingFile.h"

namespace movra::fuzz {

inline void FuzzInsert(const std::uint8_t* data, std::size_t size, const char* extension, int filterIndex,
                       const std::function<bool(App& app, const std::string& path)>& open = nullptr) {
    const std::string path = WriteInput(data, size, extension);
    FuzzApp f;
    f.form1.Load();
    MakeOpenMap(f.app, f.form1);
    const OpenMapPrint before = PrintOf(f.app, f.form1);
    f.platform.dialogScript.QueueFile(path, filterIndex);
    f.platform.dialogScript.QueueCancel();  // a file of another kind brings the dialog back
    InsertDrawingFile(f.app);
    const bool merged = f.app.mapFile.MergedFileCount != 1;
    if (!merged && !(PrintOf(f.app, f.form1) == before)) std::abort();
    if (open) {
        FuzzApp other;
        MakeOpenMap(other.app, other.form1);
        if (open(other.app, path) != merged) std::abort();
    }
}

}  // namespace movra::fuzz
