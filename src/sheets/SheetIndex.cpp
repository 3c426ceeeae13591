#include "sheets/SheetIndex.h"

#include <exception>
#include <memory>

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

SheetIndexBatch::SheetIndexBatch(App& app, const SheetWriteContext& context) : app_(app), context_(context) {}

SheetIndexBatch::~SheetIndexBatch() = default;

bool SheetIndexBatch::Add(double x0, double y0, double side, const std::string& number) {
    try {
        if (context_.setCaption) context_.setCaption(SheetWriteCaption);
        const std::string path = SheetOutputPath(app_, SheetIndexName);
        if (path.empty()) return false;
        // The folder picker still works while a division yields: a sheet goes into the index of
        // the folder it went to, so the entries so far are written before another index is begun.
        if (file_ && path != path_) {
            Commit();
            file_.reset();
        }
        if (!file_) {
            path_ = path;
            file_ = std::make_unique<AppendableMapFile>(path_);
            shiftX_ = shiftY_ = 0;
            if (file_->state() == AppendableMapFile::State::New) {
                AddSheetFileHead(app_, *file_, x0, y0);
                header_ = MakeMapHeader(app_, JdxMagic, app_.extents);
                header_.slot = IndexHeaderSlots;
                header_.x3 = context_.minX;
                header_.y3 = context_.minY;
                header_.z3 = ToFileSingle(context_.maxX);
                header_.x4 = context_.maxY;
            } else if (file_->state() == AppendableMapFile::State::Existing) {
                // The index keeps its header and its frame at the first sheet entered, and the
                // origin its entries were written from.
                header_ = file_->header();
                const OriginShift shift = ShiftToFileOrigin(app_, header_);
                shiftX_ = shift.x;
                shiftY_ = shift.y;
            }
        }
        if (file_->state() == AppendableMapFile::State::Foreign) {
            TellSheetFailure(context_, path_, JdxWrongFileMessage, true);
            return false;
        }

        x0 += shiftX_;
        y0 += shiftY_;
        FileRecord outline;
        outline.layer = 1;
        outline.slot = file_->NextSlot(1);
        outline.type = OutlineType;
        outline.color = app_.current.CurrentColor;
        outline.x1 = x0;
        outline.y1 = y0 + side;
        outline.x2 = x0;
        outline.y2 = y0;
        outline.x3 = x0 + side;
        outline.y3 = y0;
        outline.text = number;
        outline.font = IndexFont;
        file_->Add(outline);

        FileRecord label;
        label.layer = 1;
        label.slot = outline.slot;
        label.type = NumberType;
        label.color = app_.current.CurrentColor;
        label.x1 = x0 + 10 * app_.view.ScaleFactor;
        label.y1 = y0 + side / 2;
        label.pen = SheetNumberPen;
        label.text = number;
        label.font = IndexFont;
        file_->Add(label);
        // The number shares the outline's slot, but it is a record of the layer all the same: the
        // next sheet's slot counts it, as it would once the index is read back.
        file_->NextSlot(1);
        ++pending_;
        return true;
    } catch (const std::exception& e) {
        if (!path_.empty()) TellSheetFailure(context_, path_, SaveFailureReason(e), true);
        return false;
    }
}

int SheetIndexBatch::Commit() {
    if (pending_ == 0) return 0;
    const int entries = pending_;
    pending_ = 0;
    try {
        file_->Commit(header_, context_.folderSyncs);
        return 0;
    } catch (const std::exception& e) {
        const std::string reason = SaveFailureReason(e);
        for (int i = 0; i < entries; ++i) TellSheetFailure(context_, path_, reason, true);
        return entries;
    }
}

bool AppendToSheetIndex(App& app, double x0, double y0, double side, const std::string& number,
                        const SheetWriteContext& context) {
    SheetIndexBatch index(app, context);
    return index.Add(x0, y0, side, number) && index.Commit() == 0;
}

}  // namespace movra
