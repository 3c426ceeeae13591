#include "sheets/SheetFiles.h"

#include <algorithm>
#include <deque>
#include <exception>

#include "App.h"
#include "basic/Numbers.h"
#include "basic/Paths.h"
#include "basic/Text.h"
#include "document/CoordinateReduction.h"
#include "document/JdxFile.h"
#include "document/RecordPositions.h"
#include "document/SaveFailure.h"
#include "platform/PictureBox.h"
#include "sheets/AppendableMapFile.h"
#include "sheets/SheetFrameTemplate.h"
#include "sheets/SheetIndex.h"
#include "sheets/SheetPlacement.h"

namespace movra {

namespace {

// The busy pointer while a sheet is written, the cross-hair again however the writing ends.
class BusyPointer {
public:
    explicit BusyPointer(App& app) : app_(app) { SetCanvasPointer(app_, PointerHourglass); }
    ~BusyPointer() { SetCanvasPointer(app_, PointerCross); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;

private:
    App& app_;
};

struct SheetDigits {
    KilometreDigits x, y;
};
SheetDigits DigitsOf(double x0, double y0) { return {KilometreParts(x0), KilometreParts(y0)}; }

// The header's slot: room for the largest slot number written, in whole thousands and one more.
std::int16_t CapacityFor(int highestSlot) {
    const int m = std::max(highestSlot, 0);
    return static_cast<std::int16_t>(std::min<int>((m / 1000 + 2) * 1000, MaxLayerCapacity));
}

}  // namespace

std::string SheetNumber(double x0, double y0) {
    const SheetDigits d = DigitsOf(x0, y0);
    return d.y.high + "." + d.y.low + "-" + d.x.high + "." + d.x.low;
}

std::string SheetFileName(double x0, double y0) {
    const SheetDigits d = DigitsOf(x0, y0);
    return d.y.high + d.y.low + d.x.high + d.x.low + ".jdx";
}

std::string SheetOutputPath(const App& app, const std::string& fileName) {
    std::string folder = Trim(app.sheets.SheetOutputFolder);
    if (folder.empty()) return {};
    std::replace(folder.begin(), folder.end(), '\\', '/');
    return JoinPath(folder, fileName);
}

void AddSheetFileHead(const App& app, AppendableMapFile& file, double x0, double y0) {
    for (int layer = 1; layer <= app.store.LayerCount; ++layer) {
        file.Add(MakeLayerRecord(app, layer, JdxLayerRecordType));
    }
    for (int i = 0; i <= app.sheets.FrameItemCount; ++i) {
        const auto placed = PlaceFrameItem(app, app.store.Get(0, Layer0Slots::FrameTemplateFirst + i), x0, y0);
        if (placed) file.AddDrawing(MakeDrawingRecord(*placed, 1, 0, placed->RecordText));
    }
}

OriginShift ShiftToFileOrigin(const App& app, const FileRecord& fileHeader) {
    const FalseOrigin origin = FalseOriginOf(app);
    // The header keeps the offsets as MakeMapHeader wrote them: x in double, y in single form.
    return {origin.x - fileHeader.y4, origin.y - static_cast<double>(fileHeader.z4)};
}

bool SaveSheet(App& app, double x0, double y0, double side, const SheetWriteContext& context) {
    std::vector<RecordPlace> records;
    ForEachRecordOfSheet(app, x0, y0, side, [&records](int layer, int slot, const MapRecord&) {
        records.push_back({layer, slot});
        return true;
    });
    return SaveSheet(app, x0, y0, side, records, context);
}

bool SaveSheet(App& app, double x0, double y0, double side, const std::vector<RecordPlace>& records,
               const SheetWriteContext& context) {
    BusyPointer busy(app);
    std::string failedPath;  // set once there is a file to write
    try {
        if (!(side > 0) || !FrameTemplateBuilt(app)) return false;
        // The sheet is named by its true corner, whatever origin the map was reduced to.
        const FalseOrigin origin = FalseOriginOf(app);
        const double trueX0 = origin.TrueX(x0), trueY0 = origin.TrueY(y0);
        const std::string name = SheetFileName(trueX0, trueY0);
        if (context.setCaption) context.setCaption(SheetWriteCaption + Left(name, Len(name) - 4));
        const std::string path = SheetOutputPath(app, name);
        if (path.empty()) return false;

        failedPath = path;
        AppendableMapFile file(path);
        if (file.state() == AppendableMapFile::State::Foreign) {
            TellSheetFailure(context, path, JdxWrongFileMessage, false);
            return false;
        }
        const bool created = file.state() == AppendableMapFile::State::New;
        if (created) AddSheetFileHead(app, file, x0, y0);
        file.Reserve(records.size());
        const OriginShift shift = created ? OriginShift{} : ShiftToFileOrigin(app, file.header());
        std::deque<MapRecord> moved;  // the file encodes them at the commit
        for (const RecordPlace& place : records) {
            const MapRecord& record = app.store.Get(place.layer, place.slot);
            if (!shift.Moves()) {
                file.AddDrawing(record, place.layer);
                continue;
            }
            MapRecord& m = moved.emplace_back(record);
            ForEachPosition(m, [&shift](double& x, double& y) {
                x += shift.x;
                y += shift.y;
            });
            file.AddDrawing(m, place.layer);
        }

        FileRecord header;
        if (created) {
            header = MakeMapHeader(app, JdxMagic, app.extents);
            const double margin = SheetHeaderMargin * app.view.ScaleFactor;
            header.x3 = x0 - margin;
            header.y3 = y0 - margin;
            header.z3 = ToFileSingle(x0 + side + margin);
            header.x4 = y0 + side + margin;
            header.slot = CapacityFor(file.highestNewSlot());
        } else {
            // An earlier run's file keeps its own header and layer table; only its room grows.
            header = file.header();
            header.slot = std::max(header.slot, CapacityFor(file.highestNewSlot()));
        }
        file.Commit(header, context.folderSyncs);

        if (created) {
            const std::string number = SheetNumber(trueX0, trueY0);
            if (context.index)
                context.index->Add(x0, y0, side, number);
            else
                AppendToSheetIndex(app, x0, y0, side, number, context);
        }
        return true;
    } catch (const std::exception& e) {
        if (!failedPath.empty()) TellSheetFailure(context, failedPath, SaveFailureReason(e), false);
        return false;
    }
}

void TellSheetFailure(const SheetWriteContext& context, const std::string& path, const std::string& reason, bool index) {
    if (context.failed) context.failed(SheetWriteFailure{path, reason, index});
}

}  // namespace movra
