#include "exchange/ExportDxfOwnDialect.h"

#include <array>
#include <cstdint>

#include "App.h"
#include "basic/Numbers.h"
#include "basic/Paths.h"
#include "document/CoordinateReduction.h"
#include "document/DrawingExtents.h"
#include "exchange/ExportLines.h"

namespace movra {

namespace {

std::string P(double v) { return PrintNumberText(v); }
std::string P(float v) { return PrintNumberText(v); }
std::string P(std::int32_t v) { return PrintNumberText(v); }
std::string P(std::uint8_t v) { return PrintNumberText(v); }

constexpr double FullTurn = 6.28318530717958;

// Every coordinate goes out true: a reduced map exports the same numbers as before its reduction.
struct OwnDialectWriter {
    App& app;
    ExportLineWriter& out;
    FalseOrigin origin = FalseOriginOf(app);

    void Header() {
        const DrawingExtents e = ExportedExtents(app);
        const double minX = origin.TrueX(e.ExtentMinX), minY = origin.TrueY(e.ExtentMinY);
        const double maxX = origin.TrueX(e.ExtentMaxX), maxY = origin.TrueY(e.ExtentMaxY);
        for (const char* line : {" 0", "SECTION", " 2", "HEADER", " 9", "$ACADVER", " 1", "AC1015", " 9",
                                 "$ACADMAINTVER", " 70", "   13", " 9", "$DWGCODEPAGE", " 3", "ANSI_936", " 9",
                                 "$INSBASE", " 10", "0.0", " 20", "0.0", " 30", "0.0"})
            out.Line(line);
        out.Pair(" 9", "$EXTMIN");
        out.Pair(" 10", P(minX));
        out.Pair(" 20", P(minY));
        out.Pair(" 30", "0");
        out.Pair(" 9", "$EXTMAX");
        out.Pair(" 10", P(maxX));
        out.Pair(" 20", P(maxY));
        out.Pair(" 30", "9999");
        out.Pair(" 9", "$LIMMIN");
        out.Pair(" 10", P(minX));
        out.Pair(" 20", P(minY));
        out.Pair(" 9", "$LIMMAX");
        out.Pair(" 10", P(maxX));
        out.Pair(" 20", P(maxY));
        out.Pair(" 9", "$ORTHOMODE");
        out.Pair(" 70", " 0");
        // These names keep the leading blank the program's reader has always been given.
        for (auto [name, value] : std::array<std::pair<const char*, const char*>, 5>{
                 {{" $REGENMODE", " 1"}, {" $FILLMODE", " 1"}, {" $QTEXTMODE", " 0"}, {" $MIRRTEXT", " 1"},
                  {" $DRAGMODE", " 2"}}}) {
            out.Pair(" 9", name);
            out.Pair(" 70", value);
        }
        out.Pair(" 9", " $LTSCALE");
        out.Pair(" 40", P(app.view.ScaleFactor));
    }

    void Template() {
        const std::string path = ResolveReadable(PathsFromFolders(app.platform.folders()), DxfHeaderTemplate);
        TextLineReader lines = TextLineReader::FromFile(path);
        lines.LineInput();  // the template's own title
        std::string line;
        while (lines.ReadLine(line)) out.Line(line);
    }

    void Classes() {
        for (const char* line :
             {"0", "SECTION", "2", "CLASSES", "0", "Class", "1", "DICTIONARYVAR", "2",
              "AcDbDictionaryVar", "3", "AutoCAD", "90", "0", "280", "0", "281", "0", "0", "Class", "1", "LWPOLYLINE",
              "2", "AcDbPolyline", "3", "AutoCAD", "90", "0", "280", "0", "281", "1", "0", "ENDSEC"})
            out.Line(line);
    }

    void Layers() {
        const auto& store = app.store;
        const std::string next = P(store.NextLayerIndex);
        for (const char* line : {"0", "SECTION", "0", "Table", "2", "LAYER", "5"}) out.Line(line);
        out.Line(next);
        out.Line("2");
        out.Pair("100", "AcDbSymbolTable");
        out.Pair("70", next);
        for (int layer = 0; layer <= store.LayerCount; ++layer) {
            out.Pair("  0", "LAYER");
            out.Pair("5", "0" + PlainNumberText(static_cast<std::int32_t>(layer)));
            out.Pair("100", "AcDbSymbolTableRecord");
            out.Pair("100", "AcDbLayerTableRecord");
            out.Line("2");
            out.Text(store.LayerNames[static_cast<size_t>(layer)]);
            out.Pair("70", next);
            out.Pair("62", P(store.LayerColorIndex[static_cast<size_t>(layer)]));
            out.Pair("  6", "CONTINUOUS");
            out.Line("  0");
        }
        out.Line("ENDTAB");
        out.Pair("0", "ENDSEC");
    }

    void Entities() {
        const auto& store = app.store;
        out.Pair("0", "SECTION");
        out.Pair("2", "ENTITIES");
        for (int layer = 0; layer <= store.LayerCount; ++layer) {
            const int last = LastExportSlot(store, layer);
            const std::string layerName = store.LayerNames[static_cast<size_t>(layer)];
            for (int slot = 0; slot <= last; ++slot) Entity(layer, slot, layerName);
        }
        out.Pair("0", "ENDSEC");
    }

    void Objects() {
        for (const char* line :
             {"0", "SECTION", "2", "OBJECTS",
              "0", "DICTIONARY", "5", "c", "100", "AcDbDictionary", "3", "ACAD_GROUP", "350", "d", "3",
              "ACAD_MLINESTYLE", "350", "1 a", "3", "ACDBVARIABLEDICTIONARY", "350", "33",
              "0", "DICTIONARY", "5", "d", "102", "{ACAD_REACTORS", "330", "c", "102", "}", "100", "AcDbDictionary",
              "0", "DICTIONARY", "5", "1 a", "102", "{ACAD_REACTORS", "330", "c", "102", "}", "100",
              "AcDbDictionary", "3", "STANDARD", "350", "1 b",
              "0", "DICTIONARY", "5", "33", "102", "{ACAD_REACTORS", "330", "c", "102", "}", "100",
              "AcDbDictionary", "3", "DIMADEC", "350", "34",
              "0", "MLINESTYLE", "5", "1 b", "102", "{ACAD_REACTORS", "330", "1 a", "102", "}", "100",
              "AcDbMlineStyle", "2", "STANDARD", "70", "0", "3", "", "62", "256", "51", "90.0", "52", "90.0", "71",
              "2", "49", "0.5", "62", "256", "  6", "BYLAYER", "49", "-0.5", "62", "256", "  6", "BYLAYER",
              "0", "DICTIONARYVAR", "5", "34", "102", "{ACAD_REACTORS", "330", "33", "102", "}", "100",
              "DictionaryVariables", "280", "0", "1", "0",
              "0", "ENDSEC", "0", "EOF"})
            out.Line(line);
    }

    // The common head of an entity: kind, handle, (for a block reference its owner,) the entity
    // marker.
    void Start(const char* kind, const std::string& handle, const char* owner = nullptr) {
        out.Pair("0", kind);
        out.Pair("5", handle);
        if (owner) out.Pair("330", owner);
        out.Pair("100", "AcDbEntity");
    }
    void LayerLine(const std::string& name) {
        out.Line("8");
        out.Text(name);
    }
    // A stored position, written true; `below` is taken from the true y (a text's insertion point
    // lies its height below the stored one).
    void Vertex(double x, double y, double below = 0) {
        out.Pair("10", P(origin.TrueX(x)));
        out.Pair("20", P(origin.TrueY(y) - below));
    }
    void Xdata(const std::string& text) {
        out.Pair("1001", "MOVRA");
        out.Line("1000");
        out.Text(text);
    }

    void Entity(int layer, int slot, const std::string& layerName) {
        const MapRecord& r = app.store.Get(layer, slot);
        const std::uint8_t t = r.RecordType;
        const std::string handle =
            PlainNumberText(static_cast<std::int32_t>(layer)) + PlainNumberText(static_cast<std::int32_t>(slot));
        const char* lineType = r.RecordPen == 1 ? "1" : "CONTINUOUS";
        const std::string color = P(r.RecordColor);
        switch (t) {
        case 2:
        case 21:
        case 22:
        case 23: {
            Start("LINE", "1D05");
            LayerLine(layerName);
            out.Pair("  6", t == 2 ? std::string(lineType) : P(t));
            out.Pair("62", color);
            if (t == 2) {
                out.Pair("100", "AcDbLine");
            } else {
                out.Pair("100", "jzxAcDbLine");
                out.Pair("  6", P(t));
            }
            Vertex(r.RecordX1, r.RecordY1);
            out.Pair("30", ZNumberText(r.RecordZ1));
            out.Pair("11", P(origin.TrueX(r.RecordX2)));
            out.Pair("21", P(origin.TrueY(r.RecordY2)));
            out.Pair("31", ZNumberText(r.RecordZ2));
            return;
        }
        case 3:
        case 4:
        case 5:
        case 6:
            Start("LWPOLYLINE", handle);
            LayerLine(layerName);
            out.Pair("  6", lineType);
            out.Pair("62", color);
            out.Pair("100", "AcDbPolyline");
            out.Pair("90", "00");
            out.Pair("70", P(t));
            out.Pair("43", ZNumberText(r.RecordZ1));
            ChainVertices(r, layer, slot, t >= 4, t == 5, t == 6);
            return;
        case 12:
        case 42:
        case 43:
        case 44:
        case 45:
            Start("LWPOLYLINE", handle);
            LayerLine(layerName);
            out.Line("  6");
            out.Text(r.RecordText);
            out.Pair("62", color);
            out.Pair("100", "AcDbPolyline");
            if (t == 12 || t == 42) {
                out.Pair("90", P(t));
                out.Pair("70", "02");
                out.Pair("43", ZNumberText(r.RecordZ1));
                Vertex(r.RecordX1, r.RecordY1);
                Vertex(r.RecordX2, r.RecordY2);
            } else {
                out.Pair("90", P(t));
                out.Pair("70", P(t));
                out.Pair("43", ZNumberText(r.RecordZ1));
                ChainVertices(r, layer, slot, t >= 44, t == 45, false);
            }
            Xdata(r.RecordText);
            return;
        case 7:
            Start("CIRCLE", handle);
            LayerLine(layerName);
            out.Pair("70", P(t));
            out.Pair("  6", lineType);
            out.Pair("62", color);
            out.Pair("100", "AcDbCircle");
            Vertex(r.RecordX1, r.RecordY1);
            out.Pair("30", P(r.RecordZ1));
            out.Pair("40", P(r.RecordX2));
            return;
        case 8:
            Start("ARC", handle);
            out.Pair("70", P(t));
            // An arc names the layer of its record, as every other entity does.
            LayerLine(layerName);
            out.Pair("  6", P(r.RecordPen));
            out.Pair("62", color);
            out.Pair("100", "AcDbCircle");
            Vertex(r.RecordX1, r.RecordY1);
            out.Pair("30", ZNumberText(r.RecordZ1));
            out.Pair("40", P(r.RecordX2));
            out.Pair("100", "AcDbArc");
            // The record holds its angles in radians; DXF, and our reader, take degrees.
            out.Pair("50", P(r.RecordX3 * 360 / FullTurn));
            out.Pair("51", P(r.RecordY3 * 360 / FullTurn));
            return;
        case 15:
            Start("Insert", handle, "18");
            return Symbol(r, layerName, color);
        case 16:
        case 17:
        case 18:
        case 19:
        case 70:
            Start("Insert", handle, "18");
            return BlockReference(r, layerName, color);
        case 65:
        case 66:
        case 67:
        case 68:
            return TextEntity(r, layerName, color);
        default:
            return;
        }
    }

    // P1 .. P3, P4 when `four`, then the P1 of the next slot (a chain going on) or the own P1 (a
    // closed quadrilateral). A chain record in the store's last slot ends at its own P4.
    void ChainVertices(const MapRecord& r, int layer, int slot, bool four, bool chain, bool closed) {
        Vertex(r.RecordX1, r.RecordY1);
        Vertex(r.RecordX2, r.RecordY2);
        Vertex(r.RecordX3, r.RecordY3);
        if (four) Vertex(r.RecordX4, r.RecordY4);
        if (chain) {
            if (const MapRecord* next = NextSlotRecord(app.store, layer, slot)) Vertex(next->RecordX1, next->RecordY1);
        }
        if (closed) Vertex(r.RecordX1, r.RecordY1);
    }

    void Symbol(const MapRecord& r, const std::string& layerName, const std::string& color) {
        out.Pair("70", P(r.RecordType));
        LayerLine(layerName);
        out.Pair("62", color);
        out.Pair("6", "15");
        out.Pair("100", "AcDbBlockReference");
        out.Line("2");
        out.Text(r.RecordText);
        Vertex(r.RecordX1, r.RecordY1);
        out.Pair("30", "0.0");
        out.Pair("41", P(r.RecordX3));
        out.Pair("42", P(r.RecordY3));
        out.Pair("43", P(r.RecordZ3));
        const float rotation = static_cast<float>(static_cast<double>(r.RecordZ2) * 360 / FullTurn);
        out.Pair("50", P(rotation));
        Xdata(r.RecordText);
    }

    void BlockReference(const MapRecord& r, const std::string& layerName, const std::string& color) {
        LayerLine(layerName);
        out.Pair("62", color);
        out.Pair("100", "QVAcDbBlockReference");
        if (r.RecordType == 70) out.Pair("62", color);
        out.Pair("6", P(r.RecordType));
        out.Line("2");
        out.Text(r.RecordText);
        Vertex(r.RecordX1, r.RecordY1);
        out.Pair("30", "0.0");
        if (r.RecordType == 70) {
            out.Pair("11", P(r.RecordX2));
            out.Pair("21", P(r.RecordY2));
            out.Pair("31", "0.0");
        }
    }

    void TextEntity(const MapRecord& r, const std::string& layerName, const std::string& color) {
        const std::uint8_t t = r.RecordType;
        const bool turned = t == 66 || t == 68;
        const float height = static_cast<float>((r.RecordX2 - 2) * app.view.ScaleFactor / 2.8);
        Start("Text", "36");
        if (turned) out.Pair("70", P(t));
        LayerLine(layerName);
        out.Pair("  6", "CONTINUOUS");
        out.Pair("62", color);
        out.Pair("100", "AcDbText");
        if (!turned) out.Pair("70", P(t));
        Vertex(r.RecordX1, r.RecordY1, static_cast<double>(height));
        out.Pair("30", "0.0");
        out.Pair("40", P(height));
        out.Line("1");
        out.Text(r.RecordText);
        if (turned) {
            out.Pair("50", P(r.RecordZ2));
            out.Pair("41", P(r.RecordY2 / 0.7));
            out.Line("7");
            out.Text(r.RecordFont);
        } else {
            out.Pair("41", "1");
            out.Pair("7", "KVS");
        }
        out.Pair("100", "AcDbText");
    }
};

}  // namespace

bool ExportDxfOwnDialect(App& app, const std::string& path) {
    return RunExport(app, [&] {
        ExportLineWriter out(path);
        OwnDialectWriter w{app, out};
        w.Header();
        w.Template();
        out.Pair("  0", "ENDSEC");
        w.Classes();
        w.Layers();
        w.Entities();
        w.Objects();
        out.Commit();
    });
}

}  // namespace movra
