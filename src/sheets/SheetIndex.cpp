#include "sheets/SheetIndex.h"

#include <exception>

#include "App.h"
#include "document/JdxFile.h"
#include "document/SaveFailure.h"
#include "sheets/AppendableMapFile.h"
#include "sheets/SheetFiles.h"

namespace movra {

namespace {

constexpr std::int16_t IndexHeaderSlots = 5000;
constexpr std::uint8_t OutlineType = 3;
constexpr std::uint8_t NumberType = 68;
constexpr const char* IndexFont = "1";

}  // namespace

bool AppendToSheetIndex(App& app, double x0, double y0, double side, const std::string& number,
                        const SheetWriteContext& context) {
    std::string path;
    try {
        if (context.setCaption) context.setCaption(SheetWriteCaption);
        path = SheetOutputPath(app, SheetIndexName);
        if (path.empty()) return false;
        AppendableMapFile file(path);
        if (file.state() == AppendableMapFile::State::Foreign) {
            TellSheetFailure(context, path, JdxWrongFileMessage, true);
            return false;
        }

        FileRecord header;
        if (file.state() == AppendableMapFile::State::New) {
            AddSheetFileHead(app, file, x0, y0);
            header = MakeMapHeader(app, JdxMagic);
            header.slot = IndexHeaderSlots;
            header.x3 = context.minX;
            header.y3 = context.minY;
            header.z3 = ToFileSingle(context.maxX);
            header.x4 = context.maxY;
        } else {
            // The index keeps its header and its frame at the first sheet entered.
            header = file.header();
        }

        FileRecord outline;
        outline.layer = 1;
        outline.slot = file.NextSlot(1);
        outline.type = OutlineType;
        outline.color = app.current.CurrentColor;
        outline.x1 = x0;
        outline.y1 = y0 + side;
        outline.x2 = x0;
        outline.y2 = y0;
        outline.x3 = x0 + side;
        outline.y3 = y0;
        outline.text = number;
        outline.font = IndexFont;
        file.Add(outline);

        FileRecord label;
        label.layer = 1;
        label.slot = outline.slot;
        label.type = NumberType;
        label.color = app.current.CurrentColor;
        label.x1 = x0 + 10 * app.view.ScaleFactor;
        label.y1 = y0 + side / 2;
        label.pen = SheetNumberPen;
        label.text = number;
        label.font = IndexFont;
        file.Add(label);

        file.Commit(header, context.folderSyncs);
        return true;
    } catch (const std::exception& e) {
        if (!path.empty()) TellSheetFailure(context, path, SaveFailureReason(e), true);
        return false;
    }
}

}  // namespace movra
