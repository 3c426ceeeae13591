#include "exchange/ExportDxfR12.h"

#include <cmath>
#include <cstring>
#include <initializer_list>
#include <iterator>

#include "App.h"
#include "basic/Errors.h"
#include "basic/Numbers.h"
#include "document/CoordinateReduction.h"
#include "document/DrawingExtents.h"
#include "document/RecordTypes.h"
#include "display/PointSymbols.h"
#include "display/Shapes.h"
#include "exchange/ExportLines.h"

namespace movra {

namespace {

struct CodeValue {
    const char* code;
    const char* value;  // "@Extent..." stands for the print form of that extent
};

struct HeaderVariable {
    const char* name;
    CodeValue values[3];
};

// The texts are in code page 936 and the header says so ("ascii" would have other readers show
// them garbled).
constexpr HeaderVariable HeaderVariables[] = {
    {"$ACADVER", {{"  1", "AC1009"}}},
    {"$INSBASE", {{" 10", "0.0"}, {" 20", "0.0"}, {" 30", "0.0"}}},
    {"$EXTMIN", {{" 10", "@ExtentMinX"}, {" 20", "@ExtentMinY"}, {" 30", "0.0"}}},
    {"$EXTMAX", {{" 10", "@ExtentMaxX"}, {" 20", "@ExtentMaxY"}, {" 30", "0.0"}}},
    {"$LIMMIN", {{" 10", "@ExtentMinX"}, {" 20", "@ExtentMinY"}}},
    {"$LIMMAX", {{" 10", "@ExtentMaxX"}, {" 20", "@ExtentMaxY"}}},
    {"$ORTHOMODE", {{" 70", "     1"}}},
    {"$REGENMODE", {{" 70", "     1"}}},
    {"$FILLMODE", {{" 70", "     1"}}},
    {"$QTEXTMODE", {{" 70", "     0"}}},
    {"$MIRRTEXT", {{" 70", "     1"}}},
    {"$DRAGMODE", {{" 70", "     2"}}},
    {"$LTSCALE", {{" 40", "1.0"}}},
    {"$OSMODE", {{" 70", "     0"}}},
    {"$ATTMODE", {{" 70", "     1"}}},
    {"$TEXTSIZE", {{" 40", "0.2"}}},
    {"$TRACEWID", {{" 40", "0.05"}}},
    {"$TEXTSTYLE", {{"  7", "STANDARD"}}},
    {"$CLAYER", {{"  8", "0"}}},
    {"$CELTYPE", {{"  6", "BYLAYER"}}},
    {"$CECOLOR", {{" 62", "   256"}}},
    {"$DIMSCALE", {{" 40", "1.0"}}},
    {"$DIMASZ", {{" 40", "0.18"}}},
    {"$DIMEXO", {{" 40", "0.0625"}}},
    {"$DIMDLI", {{" 40", "0.38"}}},
    {"$DIMRND", {{" 40", "0.0"}}},
    {"$DIMDLE", {{" 40", "0.0"}}},
    {"$DIMEXE", {{" 40", "0.18"}}},
    {"$DIMTP", {{" 40", "0.0"}}},
    {"$DIMTM", {{" 40", "0.0"}}},
    {"$DIMTXT", {{" 40", "0.18"}}},
    {"$DIMCEN", {{" 40", "0.09"}}},
    {"$DIMTSZ", {{" 40", "0.0"}}},
    {"$DIMTOL", {{" 70", "     0"}}},
    {"$DIMLIM", {{" 70", "     0"}}},
    {"$DIMTIH", {{" 70", "     0"}}},
    {"$DIMTOH", {{" 70", "     1"}}},
    {"$DIMSE1", {{" 70", "     0"}}},
    {"$DIMSE2", {{" 70", "     0"}}},
    {"$DIMTAD", {{" 70", "     1"}}},
    {"$DIMZIN", {{" 70", "     0"}}},
    {"$DIMBLK", {{"  1", ""}}},
    {"$DIMASO", {{" 70", "     1"}}},
    {"$DIMSHO", {{" 70", "     1"}}},
    {"$DIMPOST", {{"  1", ""}}},
    {"$DIMAPOST", {{"  1", ""}}},
    {"$DIMALT", {{" 70", "     0"}}},
    {"$DIMALTD", {{" 70", "     2"}}},
    {"$DIMALTF", {{" 40", "25.4"}}},
    {"$DIMLFAC", {{" 40", "1.0"}}},
    {"$DIMTOFL", {{" 70", "     0"}}},
    {"$DIMTVP", {{" 40", "0.0"}}},
    {"$DIMTIX", {{" 70", "     0"}}},
    {"$DIMSOXD", {{" 70", "     0"}}},
    {"$DIMSAH", {{" 70", "     0"}}},
    {"$DIMBLK1", {{"  1", ""}}},
    {"$DIMBLK2", {{"  1", ""}}},
    {"$DIMSTYLE", {{"  2", "*UNNAMED"}}},
    {"$DIMCLRD", {{" 70", "     0"}}},
    {"$DIMCLRE", {{" 70", "     0"}}},
    {"$DIMCLRT", {{" 70", "     0"}}},
    {"$DIMTFAC", {{" 40", "1.0"}}},
    {"$DIMGAP", {{" 40", "0.09"}}},
    {"$LUNITS", {{" 70", "     2"}}},
    {"$LUPREC", {{" 70", "     2"}}},
    {"$SKETCHINC", {{" 40", "0.1"}}},
    {"$FILLETRAD", {{" 40", "0.0"}}},
    {"$AUNITS", {{" 70", "     0"}}},
    {"$AUPREC", {{" 70", "     0"}}},
    {"$MENU", {{"  1", "acad"}}},
    {"$ELEVATION", {{" 40", "0.0"}}},
    {"$PELEVATION", {{" 40", "0.0"}}},
    {"$THICKNESS", {{" 40", "0.0"}}},
    {"$LIMCHECK", {{" 70", "     0"}}},
    {"$BLIPMODE", {{" 70", "     1"}}},
    {"$CHAMFERA", {{" 40", "0.0"}}},
    {"$CHAMFERB", {{" 40", "0.0"}}},
    {"$SKPOLY", {{" 70", "     0"}}},
    {"$TDCREATE", {{" 40", "2450309.975563773"}}},
    {"$TDUPDATE", {{" 40", "2450309.975563773"}}},
    {"$TDINDWG", {{" 40", "0.0000000000"}}},
    {"$TDUSRTIMER", {{" 40", "0.0000000000"}}},
    {"$USRTIMER", {{" 70", "     1"}}},
    {"$ANGBASE", {{" 50", "0.0"}}},
    {"$ANGDIR", {{" 70", "     0"}}},
    {"$PDMODE", {{" 70", "     0"}}},
    {"$PDSIZE", {{" 40", "0.0"}}},
    {"$PLINEWID", {{" 40", "0.0"}}},
    {"$COORDS", {{" 70", "     2"}}},
    {"$SPLFRAME", {{" 70", "     0"}}},
    {"$SPLINETYPE", {{" 70", "     6"}}},
    {"$SPLINESEGS", {{" 70", "     8"}}},
    {"$ATTDIA", {{" 70", "     0"}}},
    {"$ATTREQ", {{" 70", "     1"}}},
    {"$HANDLING", {{" 70", "     0"}}},
    {"$HANDSEED", {{"  5", "0"}}},
    {"$SURFTAB1", {{" 70", "     6"}}},
    {"$SURFTAB2", {{" 70", "     6"}}},
    {"$SURFTYPE", {{" 70", "     6"}}},
    {"$SURFU", {{" 70", "     6"}}},
    {"$SURFV", {{" 70", "     6"}}},
    {"$UCSNAME", {{"  2", ""}}},
    {"$UCSORG", {{" 10", "0.0"}, {" 20", "0.0"}, {" 30", "0.0"}}},
    {"$UCSXDIR", {{" 10", "1.0"}, {" 20", "0.0"}, {" 30", "0.0"}}},
    {"$UCSYDIR", {{" 10", "0.0"}, {" 20", "1.0"}, {" 30", "0.0"}}},
    {"$PUCSNAME", {{"  2", ""}}},
    {"$PUCSORG", {{" 10", "0.0"}, {" 20", "0.0"}, {" 30", "0.0"}}},
    {"$PUCSXDIR", {{" 10", "1.0"}, {" 20", "0.0"}, {" 30", "0.0"}}},
    {"$PUCSYDIR", {{" 10", "0.0"}, {" 20", "1.0"}, {" 30", "0.0"}}},
    {"$USERI1", {{" 70", "     0"}}},
    {"$USERI2", {{" 70", "     0"}}},
    {"$USERI3", {{" 70", "     0"}}},
    {"$USERI4", {{" 70", "     0"}}},
    {"$USERI5", {{" 70", "     0"}}},
    {"$USERR1", {{" 40", "0.0"}}},
    {"$USERR2", {{" 40", "0.0"}}},
    {"$USERR3", {{" 40", "0.0"}}},
    {"$USERR4", {{" 40", "0.0"}}},
    {"$USERR5", {{" 40", "0.0"}}},
    {"$WORLDVIEW", {{" 70", "     1"}}},
    {"$SHADEDGE", {{" 70", "     3"}}},
    {"$SHADEDIF", {{" 70", "    70"}}},
    {"$TILEMODE", {{" 70", "     1"}}},
    {"$MAXACTVP", {{" 70", "    16"}}},
    {"$PINSBASE", {{" 10", "0.0"}, {" 20", "0.0"}, {" 30", "0.0"}}},
    {"$PLIMCHECK", {{" 70", "     0"}}},
    {"$PEXTMIN", {{" 10", "1.0000E+20"}, {" 20", "1.0000E+20"}, {" 30", "1.0000E+20"}}},
    {"$PEXTMAX", {{" 10", "-1.0000E+20"}, {" 20", "-1.0000E+20"}, {" 30", "-1.0000E+20"}}},
    {"$PLIMMIN", {{" 10", "0.0"}, {" 20", "0.0"}}},
    {"$PLIMMAX", {{" 10", "12.0"}, {" 20", "9.0"}}},
    {"$UNITMODE", {{" 70", "     0"}}},
    {"$VISRETAIN", {{" 70", "     0"}}},
    {"$PLINEGEN", {{" 70", "     0"}}},
    {"$PSLTSCALE", {{" 70", "     1"}}},
    {"$TREEDEPTH", {{" 70", "  3020"}}},
    {"$DWGCODEPAGE", {{"  3", "ANSI_936"}}},
};

struct LineTypeEntry {
    const char* name;
    const char* description;
    const char* length;
    std::initializer_list<const char*> elements;
};

const LineTypeEntry LineTypes[] = {
    {"CONTINUOUS", "Solid line", "0.0", {}},
    {"BORDER", "__ __ . __ __ . __ __ . __ __ . __ __ . __ __ .", "1.75", {"0.5", "-0.25", "0.5", "-0.25", "0.0", "-0.25"}},
    {"BORDER2", "__.__.__.__.__.__.__.__.__.__.__.__.__.__.__.__", "0.875", {"0.25", "-0.125", "0.25", "-0.125", "0.0", "-0.125"}},
    {"BORDERX2", "____  ____  .  ____  ____  .  ____  ____  .  __", "3.5", {"1.0", "-0.5", "1.0", "-0.5", "0.0", "-0.5"}},
    {"CENTER", "____ _ ____ _ ____ _ ____ _ ____ _ ____ _ ____ ", "2.0", {"1.25", "-0.25", "0.25", "-0.25"}},
    {"CENTER2", "___ _ ___ _ ___ _ ___ _ ___ _ ___ _ ___ _ ___ _", "1.125", {"0.75", "-0.125", "0.125", "-0.125"}},
    {"CENTERX2", "________  __  ________  __  ________  __  _____", "4.0", {"2.5", "-0.5", "0.5", "-0.5"}},
    {"DASHDOT", "__ . __ . __ . __ . __ . __ . __ . __ . __ . __", "1.0", {"0.5", "-0.25", "0.0", "-0.25"}},
    {"DASHDOT2", "_._._._._._._._._._._._._._._._._._._._._._._._", "0.5", {"0.25", "-0.125", "0.0", "-0.125"}},
    {"DASHDOTX2", "____  .  ____  .  ____  .  ____  .  ____  .  __", "2.0", {"1.0", "-0.5", "0.0", "-0.5"}},
    {"DASHED", "__ __ __ __ __ __ __ __ __ __ __ __ __ __ __ __", "0.75", {"0.5", "-0.25"}},
    {"DASHED2", "_ _ _ _ _ _ _ _ _ _ _ _ _ _ _ _ _ _ _ _ _ _ _ _", "0.375", {"0.25", "-0.125"}},
    {"DASHEDX2", "____  ____  ____  ____  ____  ____  ____  ____ ", "1.5", {"1.0", "-0.5"}},
    {"DIVIDE", "____ . . ____ . . ____ . . ____ . . ____ . . __", "1.25", {"0.5", "-0.25", "0.0", "-0.25", "0.0", "-0.25"}},
    {"DIVIDE2", "__..__..__..__..__..__..__..__..__..__..__..__.", "0.625", {"0.25", "-0.125", "0.0", "-0.125", "0.0", "-0.125"}},
    {"DIVIDEX2", "________  .  .  ________  .  .  ________  .  . ", "2.5", {"1.0", "-0.5", "0.0", "-0.5", "0.0", "-0.5"}},
    {"DOT", ". . . . . . . . . . . . . . . . . . . . . . . .", "0.25", {"0.0", "-0.25"}},
    {"DOT2", "...............................................", "0.125", {"0.0", "-0.125"}},
    {"DOTX2", ".  .  .  .  .  .  .  .  .  .  .  .  .  .  .  . ", "0.5", {"0.0", "-0.5"}},
    {"HIDDEN", "__ __ __ __ __ __ __ __ __ __ __ __ __ __ __ __", "0.375", {"0.25", "-0.125"}},
    {"HIDDEN2", "_ _ _ _ _ _ _ _ _ _ _ _ _ _ _ _ _ _ _ _ _ _ _ _", "0.1875", {"0.125", "-0.0625"}},
    {"HIDDENX2", "____ ____ ____ ____ ____ ____ ____ ____ ____ __", "0.75", {"0.5", "-0.25"}},
    {"PHANTOM", "______  __  __  ______  __  __  ______  __  __ ", "2.5", {"1.25", "-0.25", "0.25", "-0.25", "0.25", "-0.25"}},
    {"PHANTOM2", "___ _ _ ___ _ _ ___ _ _ ___ _ _ ___ _ _ ___ _ _", "1.25", {"0.625", "-0.125", "0.125", "-0.125", "0.125", "-0.125"}},
    {"PHANTOMX2", "____________    ____    ____    ____________   ", "5.0", {"2.5", "-0.5", "0.5", "-0.5", "0.5", "-0.5"}},
};

// The extents go out true, as every coordinate of the file.
std::string ExtentText(const App& app, const DrawingExtents& e, const char* value) {
    if (value[0] != '@') return value;
    const FalseOrigin origin = FalseOriginOf(app);
    if (std::strcmp(value, "@ExtentMinX") == 0) return PrintNumberText(origin.TrueX(e.ExtentMinX));
    if (std::strcmp(value, "@ExtentMinY") == 0) return PrintNumberText(origin.TrueY(e.ExtentMinY));
    if (std::strcmp(value, "@ExtentMaxX") == 0) return PrintNumberText(origin.TrueX(e.ExtentMaxX));
    return PrintNumberText(origin.TrueY(e.ExtentMaxY));
}

// A fixed integer right-aligned in six characters.
std::string Six(int value) {
    std::string digits = std::to_string(value);
    return std::string(digits.size() < 6 ? 6 - digits.size() : 0, ' ') + digits;
}

void WriteHeader(App& app, ExportLineWriter& out) {
    out.Pair("  0", "SECTION");
    out.Pair("  2", "HEADER");
    const DrawingExtents extents = ExportedExtents(app);
    for (const HeaderVariable& v : HeaderVariables) {
        out.Pair("  9", v.name);
        for (const CodeValue& cv : v.values) {
            if (!cv.code) break;
            out.Pair(cv.code, ExtentText(app, extents, cv.value));
        }
    }
    out.Pair("  0", "ENDSEC");
}

void OpenTable(ExportLineWriter& out, const char* name, const std::string& count) {
    out.Pair("  0", "TABLE");
    out.Pair("  2", name);
    out.Pair(" 70", count);
}

void WriteTables(App& app, ExportLineWriter& out) {
    const auto& store = app.store;
    out.Pair("  0", "SECTION");
    out.Pair("  2", "TABLES");

    OpenTable(out, "VPORT", Six(2));
    out.Pair("  0", "VPORT");
    out.Pair("  2", "*ACTIVE");
    out.Pair(" 70", Six(0));
    for (const char* line : {" 10", "0.0", " 20", "0.0", " 11", "1.0", " 21", "1.0"}) out.Line(line);
    const DrawingExtents extents = ExtentsToShow(app);
    out.Pair(" 12", ExtentText(app, extents, "@ExtentMinX"));
    out.Pair(" 22", ExtentText(app, extents, "@ExtentMinY"));
    for (const char* line : {" 13", "0.0", " 23", "0.0", " 14", "0.1", " 24", "0.1", " 15", "0.5", " 25", "0.5",
                             " 16", "0.0", " 26", "0.0", " 36", "1.0", " 17", "0.0", " 27", "0.0", " 37", "0.0",
                             " 40", "900.0", " 41", "1.00", " 42", "50.0", " 43", "0.0", " 44", "0.0", " 50", "0.0",
                             " 51", "0.0"})
        out.Line(line);
    for (auto [code, value] : {std::pair{" 71", 0}, {" 72", 100}, {" 73", 1}, {" 74", 1}, {" 75", 1}, {" 76", 0},
                               {" 77", 0}, {" 78", 0}})
        out.Pair(code, Six(value));
    out.Pair("  0", "ENDTAB");

    OpenTable(out, "LTYPE", Six(static_cast<int>(std::size(LineTypes))));
    for (const LineTypeEntry& lt : LineTypes) {
        out.Pair("  0", "LTYPE");
        out.Pair("  2", lt.name);
        out.Pair(" 70", Six(64));
        out.Pair("  3", lt.description);
        out.Pair(" 72", Six(65));
        out.Pair(" 73", Six(static_cast<int>(lt.elements.size())));
        out.Pair(" 40", lt.length);
        for (const char* element : lt.elements) out.Pair(" 49", element);
    }
    out.Pair("  0", "ENDTAB");

    OpenTable(out, "LAYER", PrintNumberText(store.NextLayerIndex));
    for (int layer = 1; layer <= store.LayerCount; ++layer) {
        out.Pair("  0", "LAYER");
        out.Line("  2");
        out.Text(store.LayerNames[static_cast<size_t>(layer)]);
        out.Pair(" 70", "  4");
        out.Pair("62", PrintNumberText(store.LayerColorIndex[static_cast<size_t>(layer)]));
        out.Pair("  6", "CONTINUOUS");
    }
    out.Pair("  0", "ENDTAB");

    OpenTable(out, "STYLE", Six(1));
    out.Pair("  0", "STYLE");
    out.Pair("  2", "STANDARD");
    out.Pair(" 70", Six(0));
    for (const char* line : {" 40", "0.0", " 41", "1.0", " 50", "0.0"}) out.Line(line);
    out.Pair(" 71", Six(0));
    for (const char* line : {" 42", "0.2", "  3", "txt", "  4", ""}) out.Line(line);
    out.Pair("  0", "ENDTAB");

    for (const char* name : {"VIEW", "UCS"}) {
        OpenTable(out, name, Six(0));
        out.Pair("  0", "ENDTAB");
    }
    OpenTable(out, "APPID", Six(1));
    out.Pair("  0", "APPID");
    out.Pair("  2", "ACAD");
    out.Pair(" 70", Six(64));
    out.Pair("  0", "ENDTAB");
    OpenTable(out, "DIMSTYLE", Six(0));
    out.Pair("  0", "ENDTAB");
    out.Pair("  0", "ENDSEC");
}

std::string ColorLine(int blanks, std::int32_t color) { return std::string(static_cast<size_t>(blanks), ' ') + PrintNumberText(color); }

std::string_view LineTypeOrContinuous(std::string_view lineType) {
    return lineType.empty() ? std::string_view("CONTINUOUS") : lineType;
}

// A circle and an arc start alike: the entity, its layer, line type, colour, centre and radius.
ExportLineWriter& WriteRoundEntityHead(DxfR12Dialect& file, const char* entity, double x, double y,
                                       const std::string& radius, std::int32_t color, std::string_view lineType) {
    ExportLineWriter& out = file.Out();
    out.Line(entity);
    out.Pair("  8", "0");
    out.Pair("  6", LineTypeOrContinuous(lineType));
    out.Pair("62", ColorLine(4, color));
    out.Pair("10", PrintNumberText(x));
    out.Pair("20", PrintNumberText(y));
    out.Pair("30", PrintNumberText(0.0f));
    out.Pair("40", radius);
    return out;
}

void WriteCircle(DxfR12Dialect& file, double x, double y, const std::string& radius, std::int32_t color,
                 std::string_view lineType) {
    WriteRoundEntityHead(file, "CIRCLE", x, y, radius, color, lineType).Line("  0");
}

void WriteText(DxfR12Dialect& file, double x, double y, float height, const std::string& angle, std::int32_t color,
               std::string_view text) {
    ExportLineWriter& out = file.Out();
    out.Line("TEXT");
    out.Pair("  8", "0");
    out.Pair("62", ColorLine(2, color));
    out.Pair("10", PrintNumberText(x));
    out.Pair("20", PrintNumberText(y));
    out.Pair("30", PrintNumberText(0.0f));
    out.Pair("40", PrintNumberText(height));
    out.Line("  1");
    out.Text(text);
    out.Pair("50", angle);
    out.Line("  0");
}

// The turn in degrees of an angle the record keeps in radians.
double Degrees(double radians) { return radians * 360 / 6.28318530717958; }

// Grid paper whose grid would take more lines than this (a sheet of many kilometres at a paper
// millimetre's spacing) goes out as its border only: the screen draws only the lines it shows.
constexpr double MostGridLines = 100000;

// The entities of one record, at true coordinates; a chain record in the store's last slot ends at
// its own P4. Wide lines, special boundary lines and line-type lines go out as their lines, without
// their width or pattern.
void WriteRecord(DxfR12Dialect& file, const App& app, const FalseOrigin& origin, int layer, int slot) {
    const RecordStore& store = app.store;
    const MapRecord& r = store.Get(layer, slot);
    const std::int32_t color = layer;
    const std::string_view lineType = r.RecordPen == 1 ? "HIDDEN2" : "CONTINUOUS";
    const double x1 = origin.TrueX(r.RecordX1), y1 = origin.TrueY(r.RecordY1);
    auto line = [&](double ax, double ay, double bx, double by) {
        WriteDxfR12Line(file, origin.TrueX(ax), origin.TrueY(ay), origin.TrueX(bx), origin.TrueY(by), color,
                        lineType);
    };
    switch (r.RecordType) {
    case 2:
    case 12:
    case 21:
    case 22:
    case 23:
    case 42:
    case 72:
    case 92:
        line(r.RecordX1, r.RecordY1, r.RecordX2, r.RecordY2);
        return;
    case 52:
        // A cross: P1 to P2 and P3 to P4.
        line(r.RecordX1, r.RecordY1, r.RecordX2, r.RecordY2);
        line(r.RecordX3, r.RecordY3, r.RecordX4, r.RecordY4);
        return;
    case 80:
    case 81:
    case 85:
        // A tick from each vertex up to the first vertex at (0, 0).
        for (int k = 1; k <= 4; ++k) {
            const double x = k == 1 ? r.RecordX1 : k == 2 ? r.RecordX2 : k == 3 ? r.RecordX3 : r.RecordX4;
            const double y = k == 1 ? r.RecordY1 : k == 2 ? r.RecordY2 : k == 3 ? r.RecordY3 : r.RecordY4;
            const double z = k == 1 ? r.RecordZ1 : k == 2 ? r.RecordZ2 : k == 3 ? r.RecordZ3 : r.RecordZ4;
            if (EndsTickRecord(k, x, y)) break;
            const double dy = r.RecordType == 80 ? z : r.RecordType == 81 ? 0 : -z;
            line(x, y, x + z, y + dy);
        }
        return;
    case 31:
    case 32:
    case 33:
    case 34:
    case 46:
    case 47:
    case 48:
    case 49: {
        // Parcel boundary points and height points, each at its own elevation.
        const int points = r.RecordType - (r.RecordType < 40 ? 30 : 45);
        const double xs[4] = {r.RecordX1, r.RecordX2, r.RecordX3, r.RecordX4};
        const double ys[4] = {r.RecordY1, r.RecordY2, r.RecordY3, r.RecordY4};
        const float zs[4] = {r.RecordZ1, r.RecordZ2, r.RecordZ3, r.RecordZ4};
        for (int k = 0; k < points; ++k)
            WriteDxfR12Point(file, origin.TrueX(xs[k]), origin.TrueY(ys[k]), zs[k], color);
        return;
    }
    case 36: {
        // Grid paper: its border and its grid a paper millimetre apart, the tenth lines as thin as
        // the others.
        line(r.RecordX1, r.RecordY1, r.RecordX2, r.RecordY2);
        line(r.RecordX2, r.RecordY2, r.RecordX3, r.RecordY3);
        line(r.RecordX3, r.RecordY3, r.RecordX4, r.RecordY4);
        line(r.RecordX4, r.RecordY4, r.RecordX1, r.RecordY1);
        const ShapeCorners p = CornersOf(r);
        const auto spacing = static_cast<float>(app.view.ScaleFactor);
        const double lines = std::fabs((p.Y1 - p.Y4) / spacing) + std::fabs((p.X2 - p.X1) / spacing);
        if (lines <= MostGridLines)
            ForEachGridLine(p, spacing, std::nullopt,
                            [&](int, double ax, double ay, double bx, double by) { line(ax, ay, bx, by); });
        return;
    }
    case 87:
        // Symbol rows: each symbol as the point symbols are written.
        for (int k = 1; k <= 4; ++k) {
            const double x = k == 1 ? r.RecordX1 : k == 2 ? r.RecordX2 : k == 3 ? r.RecordX3 : r.RecordX4;
            const double y = k == 1 ? r.RecordY1 : k == 2 ? r.RecordY2 : k == 3 ? r.RecordY3 : r.RecordY4;
            const float length = k == 1 ? r.RecordZ1 : k == 2 ? r.RecordZ2 : k == 3 ? r.RecordZ3 : r.RecordZ4;
            ForEachSymbolRowPlace(x, y, length, static_cast<float>(Val(r.RecordExtra)), [&](double px, double py) {
                WriteDxfR12Circle(file, origin.TrueX(px), origin.TrueY(py), std::int16_t{1}, color, lineType);
            });
        }
        return;
    case 70:
        // An image keeps its size in (X2, Y2): the line is its diagonal.
        WriteDxfR12Line(file, x1, y1, x1 + r.RecordX2, y1 + r.RecordY2, color, lineType);
        return;
    case 3:
    case 4:
    case 5:
    case 6:
    case 43:
    case 44:
    case 45:
    case 73:
    case 74:
    case 75:
    case 93:
    case 94:
    case 95: {
        const std::uint8_t t = r.RecordType;
        line(r.RecordX1, r.RecordY1, r.RecordX2, r.RecordY2);
        line(r.RecordX2, r.RecordY2, r.RecordX3, r.RecordY3);
        if (t % 10 == 3) return;
        line(r.RecordX3, r.RecordY3, r.RecordX4, r.RecordY4);
        if (t == 6) {
            line(r.RecordX4, r.RecordY4, r.RecordX1, r.RecordY1);
        } else if (ContinuesToNextSlot(t)) {
            if (const MapRecord* next = NextSlotRecord(store, layer, slot))
                line(r.RecordX4, r.RecordY4, next->RecordX1, next->RecordY1);
        }
        return;
    }
    case 7:
        WriteDxfR12Circle(file, x1, y1, r.RecordX2, color, lineType);
        return;
    case 8:
        WriteDxfR12Arc(file, x1, y1, r.RecordX2, Degrees(r.RecordX3), Degrees(r.RecordY3), color, lineType);
        return;
    case 50:
    case 51:
    case 15:
    case 16:
    case 17:
    case 18:
    case 19:
        WriteDxfR12Circle(file, x1, y1, std::int16_t{1}, color, lineType);
        return;
    case 25:
    case 61:
    case 62:
    case 63:
    case 64:
    case 65:
    case 66:
    case 67:
    case 68: {
        // Terrain points and the texts; the pixel and the italic texts turn as the turned ones.
        const std::uint8_t t = r.RecordType;
        const float height = static_cast<float>(r.RecordX2 / 3);
        const double y = y1 - static_cast<double>(height);
        if (t == 25 || t == 61 || t == 65 || t == 67)
            WriteDxfR12Text(file, x1, y, height, std::int16_t{0}, color, r.RecordText);
        else
            WriteDxfR12Text(file, x1, y, height, r.RecordZ2, color, r.RecordText);
        // A terrain point and a turned text with its point: the point at P4, at its elevation.
        if (t == 61 || t == 62)
            WriteDxfR12Point(file, origin.TrueX(r.RecordX4), origin.TrueY(r.RecordY4), r.RecordZ4, color);
        return;
    }
    default:
        return;
    }
}

}  // namespace

DxfR12Dialect::DxfR12Dialect() = default;
DxfR12Dialect::~DxfR12Dialect() = default;

ExportLineWriter& DxfR12Dialect::Out() {
    if (!out_) Raise(ErrBadFileNameOrNumber);
    return *out_;
}

void WriteDxfR12HeaderAndTables(App& app, DxfR12Dialect& file, const std::string& path) {
    file.out_ = std::make_unique<ExportLineWriter>(path);
    ExportLineWriter& out = *file.out_;
    WriteHeader(app, out);
    WriteTables(app, out);
    out.Pair("  0", "SECTION");
    out.Pair("  2", "BLOCKS");
    out.Pair("  0", "ENDSEC");
    out.Pair("  0", "SECTION");
    out.Pair("  2", "ENTITIES");
    out.Line("  0");
}

void WriteDxfR12Line(DxfR12Dialect& file, double x1, double y1, double x2, double y2, std::int32_t color,
                     std::string_view lineType) {
    ExportLineWriter& out = file.Out();
    out.Line("LINE");
    out.Pair("  8", "0");
    out.Pair("  6", LineTypeOrContinuous(lineType));
    out.Pair("62", ColorLine(2, color));
    out.Pair("10", PrintNumberText(x1));
    out.Pair("20", PrintNumberText(y1));
    out.Pair("30", "0.00");
    out.Pair("11", PrintNumberText(x2));
    out.Pair("21", PrintNumberText(y2));
    out.Pair("31", "0.00");
    out.Line("  0");
}

void WriteDxfR12Circle(DxfR12Dialect& file, double x, double y, double radius, std::int32_t color,
                       std::string_view lineType) {
    WriteCircle(file, x, y, PrintNumberText(radius), color, lineType);
}

void WriteDxfR12Circle(DxfR12Dialect& file, double x, double y, std::int16_t radius, std::int32_t color,
                       std::string_view lineType) {
    WriteCircle(file, x, y, PrintNumberText(static_cast<std::int32_t>(radius)), color, lineType);
}

void WriteDxfR12Text(DxfR12Dialect& file, double x, double y, float height, float angle, std::int32_t color,
                     std::string_view text) {
    WriteText(file, x, y, height, PrintNumberText(angle), color, text);
}

void WriteDxfR12Text(DxfR12Dialect& file, double x, double y, float height, std::int16_t angle,
                     std::int32_t color, std::string_view text) {
    WriteText(file, x, y, height, PrintNumberText(static_cast<std::int32_t>(angle)), color, text);
}

void WriteDxfR12Arc(DxfR12Dialect& file, double x, double y, double radius, double startDegrees, double endDegrees,
                    std::int32_t color, std::string_view lineType) {
    ExportLineWriter& out = WriteRoundEntityHead(file, "ARC", x, y, PrintNumberText(radius), color, lineType);
    out.Pair("50", PrintNumberText(startDegrees));
    out.Pair("51", PrintNumberText(endDegrees));
    out.Line("  0");
}

void WriteDxfR12Point(DxfR12Dialect& file, double x, double y, float z, std::int32_t color) {
    ExportLineWriter& out = file.Out();
    out.Line("POINT");
    out.Pair("  8", "0");
    out.Pair("62", ColorLine(2, color));
    out.Pair("10", PrintNumberText(x));
    out.Pair("20", PrintNumberText(y));
    out.Pair("30", PrintNumberText(z));
    out.Line("  0");
}

void WriteDxfR12End(DxfR12Dialect& file) {
    ExportLineWriter& out = file.Out();
    out.Line("ENDSEC");
    out.Pair("  0", "EOF");
    out.Commit();
}

bool ExportDxfR12(App& app, const std::string& path) {
    return RunExport(app, [&] {
        DxfR12Dialect file;
        WriteDxfR12HeaderAndTables(app, file, path);
        const auto& store = app.store;
        const FalseOrigin origin = FalseOriginOf(app);
        for (int layer = 0; layer <= store.LayerCount; ++layer) {
            const int last = LastExportSlot(store, layer);
            for (int slot = 0; slot <= last; ++slot) WriteRecord(file, app, origin, layer, slot);
        }
        WriteDxfR12End(file);
    });
}

}  // namespace movra
