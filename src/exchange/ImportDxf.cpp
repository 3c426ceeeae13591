#include "exchange/ImportDxf.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <new>
#include <set>
#include <vector>

#include "App.h"
#include "basic/DxfLines.h"
#include "basic/Errors.h"
#include "basic/Files.h"
#include "basic/Guards.h"
#include "basic/Numbers.h"
#include "basic/Paths.h"
#include "basic/Text.h"
#include "document/Layers.h"
#include "document/MapRecord.h"
#include "document/RecordPositions.h"
#include "document/StoreRecord.h"
#include "exchange/ImportSpill.h"
#include "exchange/ProxyTable.h"

namespace movra {

namespace {

constexpr double Pi = 3.14159265358979;
constexpr double FullTurn = 6.28318530717958;
constexpr const char* OwnApplication = "MOVRA";
constexpr const char* SouthApplication = "SOUTH";

// Ground metres per paper millimetre from 1:1 (0.001) to 1:100,000,000 (100,000), with a margin
// of ten below: what lies beyond is no drawing's scale.
bool IsDrawingScaleFactor(double scale) { return scale >= 1e-4 && scale <= 1e5; }

// The file's "EOF" read where it ends the import.
struct ImportEnded {};

struct DxfReader {
    DxfReader(App& a, std::string bytes) : app(a), lines(std::move(bytes)) {}

    App& app;
    DxfLineReader lines;
    DxfImportOutcome outcome;
    ProxyTable proxy;
    ImportSpill spill;
    // The first slot the entity being read appended, so that a far entity can be taken back whole
    // even after a cut moved the layer's records, slot 0 included; NothingAppended before its first
    // record, EntityCutApart when the cut took some of them into the spill layer.
    static constexpr int NothingAppended = -2;
    static constexpr int EntityCutApart = -1;
    int entityFirstSlot = NothingAppended;
    // Slots the cuts took off the bottom of each layer during this import.
    std::array<int, 256> slotsCut{};

    // Entity state of one import.
    int base = 0;                 // first type of the chained line family in force
    std::string application;      // application of the extended data in force
    std::set<int> received;       // layers that received records
    bool markerSeen = false;      // an entity subclass marker was read
    bool entityLinesSeen = false; // the entity section held anything at all
    double textHeight = 0;        // the height of the last text, kept for the next one

    RecordStore& store() { return app.store; }
    int layer() { return store().CurrentLayer; }

    // --- Lines ---

    std::string Raw() { return lines.Raw(); }
    std::string Line() { return Trim(Raw()); }
    double Number() { return DxfNumber(Line()); }
    double NumberOf(const std::string& line) { return DxfNumber(line); }

    // --- Colours ---

    Rgb Palette(int index) { return app.tables.ColorPalette[static_cast<size_t>(index & 0xFF)]; }
    // A negative DXF colour marks an entity whose layer is off; its colour is the absolute value.
    std::int32_t ColorNumber(const std::string& line) {
        const std::int32_t n = ToInt32(NumberOf(line));
        return n == INT32_MIN ? INT32_MAX : std::abs(n);
    }
    Rgb RuleH(const std::string& line) {
        const std::int32_t n = ColorNumber(line);
        return n < 255 ? Palette(n) : static_cast<Rgb>(n);
    }
    Rgb RuleL(const std::string& line) {
        const std::int32_t n = ColorNumber(line);
        if (n == 7) return Palette(layer());
        return n < 256 ? Palette(n) : static_cast<Rgb>(n);
    }

    // --- Appending ---

    // Room in the current layer for the record to append, the slot after it, and the margin a
    // closing polyline takes. A full layer is cut before any record is appended, inside an entity
    // too: the cut never ends on a record whose line goes on in the next slot, so an entity being
    // built goes on in the part moved down, and a handler finds the records it holds through
    // `HeldSlot`.
    void Room() {
        auto& s = store();
        while (s.Count(layer()) + 5 > s.LayerCapacity) {
            const int before = s.LayerCapacity;
            const int countBefore = s.Count(layer());
            GrowImportLayerCapacity(app, spill);
            if (s.LayerCapacity <= before) Raise(ErrSubscriptOutOfRange);
            const int taken = countBefore - s.Count(layer());
            slotsCut[static_cast<size_t>(layer())] += taken;
            // A cut moves the layer's records down; those of the entity being read go with them,
            // unless the cut took some of them into the spill layer.
            if (entityFirstSlot >= 0) {
                entityFirstSlot -= taken;
                if (entityFirstSlot < 0) entityFirstSlot = EntityCutApart;
            }
        }
    }
    MapRecord& NextSlot() {
        Room();
        return store().At(layer(), store().Count(layer()) + 1);
    }
    int Append() {
        Room();
        auto& s = store();
        const int slot = ++s.Count(layer());
        if (entityFirstSlot == NothingAppended) entityFirstSlot = slot;
        received.insert(layer());
        s.At(layer(), slot).RecordSource = app.mapFile.MergedFileCount;
        return slot;
    }
    // A slot of the current layer held across appends, which may cut the layer under it.
    struct HeldSlot {
        int slot;
        int cutBefore;
    };
    HeldSlot Hold(int slot) { return {slot, slotsCut[static_cast<size_t>(layer())]}; }
    // Where the held record stands now; below 0 when a cut took it into the spill layer.
    int Now(const HeldSlot& held) { return held.slot - (slotsCut[static_cast<size_t>(layer())] - held.cutBefore); }
    MapRecord& At(int slot) { return store().At(layer(), slot); }
    void DefaultColor(MapRecord& r) {
        if (r.RecordColor == 0) r.RecordColor = Palette(layer());
    }
    void LoadProxy() {
        if (proxy.ProxyTableLoaded == 0) LoadProxyTable(app, proxy);
    }

    static void SetPoint(MapRecord& r, int k, double x, double y, float z) {
        switch (k) {
            case 1: r.RecordX1 = x, r.RecordY1 = y, r.RecordZ1 = z; break;
            case 2: r.RecordX2 = x, r.RecordY2 = y, r.RecordZ2 = z; break;
            case 3: r.RecordX3 = x, r.RecordY3 = y, r.RecordZ3 = z; break;
            default: r.RecordX4 = x, r.RecordY4 = y, r.RecordZ4 = z; break;
        }
    }
    // Reads the value of a coordinate code into the record; false when the code is none.
    bool Coordinate(const std::string& code, MapRecord& r, int first, int second) {
        if (code.size() != 2) return false;
        const int group = code[0] - '0';
        const int digit = code[1] - '0';
        if (group < 1 || group > 3 || (digit != first && digit != second)) return false;
        const double v = Number();
        const bool p1 = digit == first;
        if (group == 1) (p1 ? r.RecordX1 : r.RecordX2) = v;
        if (group == 2) (p1 ? r.RecordY1 : r.RecordY2) = v;
        if (group == 3) (p1 ? r.RecordZ1 : r.RecordZ2) = static_cast<float>(v);
        return true;
    }

    // A chained line record holds up to four vertices; the fifth starts the next record, which
    // takes over the texts, colour and pen.
    void ChainVertex(int& slot, int& k, double x, double y, float z) {
        if (k == 4) {
            MapRecord& full = At(slot);
            full.RecordType = static_cast<std::uint8_t>(base + 4);
            // Taken before appending: the append may cut the layer under the full record.
            std::string text = full.RecordText;
            std::string extra = full.RecordExtra;
            const std::int32_t color = full.RecordColor;
            const std::uint8_t pen = full.RecordPen;
            const int next = Append();
            MapRecord& r = At(next);
            r.RecordText = std::move(text);
            r.RecordExtra = std::move(extra);
            r.RecordColor = color;
            r.RecordPen = pen;
            slot = next;
            k = 0;
        }
        MapRecord& r = At(slot);
        SetPoint(r, k + 1, x, y, z);
        r.RecordType = static_cast<std::uint8_t>(base + k);
        ++k;
    }

    // --- Sections ---

    void Run() {
        for (;;) {
            std::string a = Raw();
            if (a == "SECTION") {
                std::string b;
                do {
                    b = Raw();
                    if (b == "HEADER") {
                        Header();
                        b = "ENDSEC";
                    } else if (b == "CLASSES" || b == "BLOCKS") {
                        SkipTo("ENDSEC");
                        b = "ENDSEC";
                    } else if (b == "TABLES") {
                        Tables(false);
                        b = "ENDSEC";
                    } else if (EqualsIgnoreCase(Trim(b), "TABLE")) {
                        // Our own files open the table section without its name pair.
                        Tables(true);
                        b = "ENDSEC";
                    } else if (b == "ENTITIES") {
                        outcome.result = -1;
                        Entities();
                        b = "ENDSEC";
                    }
                } while (b != "ENDSEC");
            } else if (a == "EOF") {
                return;
            }
        }
    }

    void SkipTo(const char* word) {
        while (Line() != word) {
        }
    }

    void Header() {
        app.mapFile.MergedFileCount = 1;
        app.mapFile.MergedFileNames.assign({std::string(), FileNameOf(app.current.CurrentFilePath)});
        for (;;) {
            const std::string line = Line();
            if (line == "ENDSEC") return;
            if (line == "$LTSCALE") {
                Raw();
                const std::string value = Line();
                double scale = 0;
                try {
                    scale = DxfNumber(value);
                } catch (const RuntimeError&) {
                    // Beyond what a double holds: no scale either.
                }
                // A scale of 0 (or below) would draw every text and symbol at no size at all, and
                // one that is no number or far beyond any drawing's scale would make every size
                // computed from it useless.
                if (!IsDrawingScaleFactor(scale)) scale = 1;
                if (app.settings.ForceScaleFlag != -1) {
                    app.view.ScaleFactor = scale;
                    app.view.ProjectParams[0] = scale * 1000;
                    app.view.PointMarkRadius = static_cast<float>(0.4 * scale);
                }
            } else if (line == "$EXTMIN" || line == "$EXTMAX") {
                const bool min = line == "$EXTMIN";
                Raw();
                const double x = Number();
                Raw();
                const double y = Number();
                if (!IsStorablePoint(x, y)) continue;
                (min ? app.extents.ExtentMinX : app.extents.ExtentMaxX) = x;
                (min ? app.extents.ExtentMinY : app.extents.ExtentMaxY) = y;
            }
        }
    }

    // Reads the table section; `opened` when its first "TABLE" has been read already.
    void Tables(bool opened) {
        for (;;) {
            if (!opened) {
                const std::string t = Line();
                if (t == "ENDSEC") return;
                if (!EqualsIgnoreCase(t, "TABLE")) continue;
            }
            opened = false;
            for (;;) {
                const std::string line = Line();
                if (line == "ENDTAB") break;
                if (line == "ENDSEC") return;
                if (line == "LAYER") {
                    if (!LayerTable()) return;
                    break;
                }
            }
        }
    }

    // Reads the layer table up to its "ENDTAB"; false when the section ended instead.
    bool LayerTable() {
        // The table's own lines (handle, marker, entry count) hold no line "LAYER".
        int next = 1;
        bool sectionEnded = false;
        for (;;) {
            const std::string line = Line();
            if (line == "ENDTAB") break;
            if (line == "ENDSEC") {
                sectionEnded = true;
                break;
            }
            if (line != "LAYER") continue;
            // One entry, as code and value pairs up to the next code "0", so that a value "2"
            // or "62" is never taken for a code.
            std::string name;
            std::string color;
            bool colored = false;
            bool tableEnded = false;
            for (;;) {
                const std::string code = Line();
                if (code == "0") break;
                if (code == "ENDTAB" || code == "ENDSEC") {
                    tableEnded = true;
                    sectionEnded = code == "ENDSEC";
                    break;
                }
                const std::string value = Raw();
                if (code == "2") name = Trim(value);
                if (code == "62") {
                    color = Trim(value);
                    colored = true;
                }
            }
            // The layer tables end at 255; further entries are passed over.
            if (colored && next <= 255) {
                const double v = NumberOf(color);
                int n = std::isfinite(v) && std::fabs(v) < 1e9 ? static_cast<int>(ToInt32(v)) : 0;
                if (n == 7 || n < 1 || n > 255) n = next % 100 + 1;
                auto& s = store();
                s.LayerNames[static_cast<size_t>(next)] = name;
                s.LayerOnFlag[static_cast<size_t>(next)] = -1;
                s.LayerColorIndex[static_cast<size_t>(next)] = static_cast<std::uint8_t>(n);
                ++next;
            }
            if (tableEnded) break;
        }
        // A table that numbered no layer keeps the layers the caller made: the store must keep a
        // drawing layer besides the reserved layer 0.
        if (next > 1) {
            auto& s = store();
            s.LayerCount = static_cast<std::uint8_t>(next - 1);
            s.NextLayerIndex = static_cast<std::uint8_t>(std::min(next, 255));
            received.clear();
            spill = ImportSpill{};
            新建层(app);
        }
        return !sectionEnded;
    }

    // --- Entities ---

    void Entities() {
        std::string handedBack;
        for (;;) {
            const std::string m = handedBack.empty() ? Line() : std::move(handedBack);
            handedBack.clear();
            if (m == "ENDSEC") return;
            // A file cut after its last entity still ends here.
            if (m == "EOF") throw ImportEnded{};
            entityLinesSeen = true;
            if (m == "AcDbEntity") {
                markerSeen = true;
                EntityHeader();
                continue;
            }
            const int entityLayer = layer();
            entityFirstSlot = NothingAppended;
            if (m == "AcDb2dPolyline") {
                Polyline2d();
            } else if (m == "AcDbTrace") {
                Trace();
            } else if (m == "AcDbLine") {
                LineEntity();
            } else if (m == "jzxAcDbLine") {
                OwnBoundaryLine();
            } else if (m == "AcDbPolyline") {
                LightPolyline();
            } else if (m == "AcDbCircle") {
                Circle();
            } else if (m == "QVAcDbBlockReference") {
                OwnInsertion();
            } else if (m == "AcDbBlockReference") {
                BlockReference();
            } else if (m == "AcDbText" || m == "AcDbMText") {
                handedBack = TextEntity();
            }
            DropFarEntity(entityLayer);
        }
    }

    // An entity with a coordinate beyond the farthest storable one (a damaged or foreign file's
    // 1e308) would leave the view and every computation over the map unusable: its records are
    // taken back and counted, so the user can be told.
    void DropFarEntity(int entityLayer) {
        auto& s = store();
        // An entity that appended nothing, or one a cut took apart, stays as it is.
        if (layer() != entityLayer || entityFirstSlot < 0) return;
        bool far = false;
        for (int slot = entityFirstSlot; slot <= s.Count(entityLayer) && !far; ++slot) {
            const MapRecord& r = s.Get(entityLayer, slot);
            far = !HasStorablePositions(r) || !IsStorablePoint(r.RecordZ1, r.RecordZ2) ||
                  !IsStorablePoint(r.RecordZ3, r.RecordZ4);
        }
        if (!far) return;
        s.ClearFrom(entityLayer, entityFirstSlot);
        // The count names the last slot written: -1 when a cut had left the entity in slot 0.
        s.Count(entityLayer) = entityFirstSlot - 1;
        ++outcome.farEntitiesSkipped;
    }

    void EntityHeader() {
        for (;;) {
            std::string line = Line();
            if (line == "100") return;
            if (line == "EOF") throw ImportEnded{};
            if (line == "8") {
                const std::string name = Line();
                auto& s = store();
                for (int i = 1; i <= s.LayerCount; ++i) {
                    if (s.LayerNames[static_cast<size_t>(i)] == name) {
                        s.CurrentLayer = static_cast<std::uint8_t>(i);
                        break;
                    }
                }
                NextSlot().RecordColor = Palette(s.LayerColorIndex[static_cast<size_t>(layer())]);
                if (name == "100") return;
            } else if (line == "6") {
                LineTypeName(Line());
            } else if (line == "62") {
                line = Line();
                NextSlot().RecordColor = RuleH(line);
                if (line == "100") return;
            }
        }
    }

    void LineTypeName(const std::string& t) {
        MapRecord& next = NextSlot();
        next.RecordText = t;
        if (EqualsIgnoreCase(t, "Continuous") || t == "0" || t == "1") {
            next.RecordType = 1;
            next.RecordPen = t == "0" ? 0 : t == "1" ? 1 : 6;
            base = 1;
            return;
        }
        next.RecordExtra = t;
        LoadProxy();
        const std::string q = ProxyLookupByCode(proxy, t);
        const double k = DxfNumber(proxy.ProxyLookupResult);
        MapRecord& r = NextSlot();
        if (k == 41) {
            r.RecordType = 41;
            r.RecordText = q;
            base = 41;
            return;
        }
        r.RecordType = 1;
        r.RecordPen = k == 15 && DxfNumber(q) == 5 ? 6 : 7;
        r.RecordText = "0";
        base = 1;
    }

    void Polyline2d() {
        int slot = Append();
        int k = 0;
        if (base == 0) base = 1;
        bool any = false;
        for (;;) {
            const std::string line = Line();
            if (line == "SEQEND") break;
            if (line != "AcDb2dVertex") continue;
            Raw();
            const double x = Number();
            Raw();
            const double y = Number();
            Raw();
            const double z = Number();
            ChainVertex(slot, k, x, y, static_cast<float>(z));
            any = true;
        }
        if (!any) DropLast();
    }

    // An entity that gave no vertex leaves no record behind.
    void DropLast() {
        auto& s = store();
        int& count = s.Count(layer());
        s.ClearFrom(layer(), count);
        --count;
    }

    void Trace() {
        MapRecord& r = At(Append());
        r.RecordType = 10;
        for (;;) {
            const std::string code = Line();
            if (code == "0") return;
            const double v = Number();
            const auto f = static_cast<float>(v);
            if (code == "10") r.RecordX1 = v;
            if (code == "20") r.RecordY1 = v;
            if (code == "30") r.RecordZ1 = f;
            if (code == "12") r.RecordX2 = v;
            if (code == "22") r.RecordY2 = v;
            if (code == "32") r.RecordZ2 = f;
            if (code == "13") r.RecordX3 = v;
            if (code == "23") r.RecordY3 = v;
            if (code == "33") r.RecordZ3 = f;
            if (code == "11") r.RecordX4 = v;
            if (code == "21") r.RecordY4 = v;
            if (code == "31") r.RecordZ4 = f;
        }
    }

    void ApplicationLine(const std::string& name) {
        application = name;
        if (application == SouthApplication) LoadProxy();
    }

    void LineEntity() {
        MapRecord& r = At(Append());
        r.RecordType = 2;
        DefaultColor(r);
        for (;;) {
            const std::string line = Line();
            if (line == "0") return;
            if (Coordinate(line, r, 0, 1)) continue;
            if (line == "62") {
                r.RecordColor = RuleL(Line());
            } else if (line == "1001") {
                ApplicationLine(Raw());
            } else if (line == "1000") {
                const std::string v = Raw();
                r.RecordExtra = v;
                if (application == SouthApplication) {
                    const std::string q = ProxyLookupByKey(proxy, v);
                    const double k = DxfNumber(proxy.ProxyLookupResult);
                    if (k == 41) {
                        r.RecordType = 42;
                        r.RecordText = q;
                        r.RecordPen = 6;
                    } else if (k <= 15) {
                        r.RecordType = 2;
                        r.RecordPen = 7;
                    }
                } else if (application == OwnApplication) {
                    const double n = DxfNumber(v);
                    if (n < 350) {
                        r.RecordType = 15;
                        r.RecordText = Trim(v);
                    } else if (n > 350) {
                        r.RecordType = 42;
                        r.RecordText = Trim(v);
                    }
                }
            }
        }
    }

    void OwnBoundaryLine() {
        MapRecord& r = At(Append());
        r.RecordType = 2;
        for (;;) {
            const std::string line = Line();
            if (line == "0") return;
            if (Coordinate(line, r, 0, 1)) continue;
            if (line == "6") r.RecordType = ToByte(Number());
        }
    }

    void LightPolyline() {
        if (base < 41) base = 1;
        int f = 0;
        double e = 0;
        bool ours = false;
        const HeldSlot start = Hold(Append());
        {
            MapRecord& r = At(start.slot);
            if (r.RecordColor == Palette(0)) {
                const int index = store().LayerColorIndex[static_cast<size_t>(layer())];
                r.RecordColor = Palette(index != 0 ? index : layer());
            }
        }
        int slot = start.slot;
        int k = 0;
        bool any = false;
        double firstX = 0, firstY = 0;
        float firstZ = 0;
        for (;;) {
            const std::string line = Line();
            if (line == "0") break;
            if (line == "90") {
                if (Line() == "00") ours = true;
            } else if (line == "43") {
                Raw();
            } else if (line == "70") {
                f = ToInt16(Number());
            } else if (line == "38") {
                e = Number();
            } else if (line == "10") {
                const double x = Number();
                Raw();
                const double y = Number();
                ChainVertex(slot, k, x, y, static_cast<float>(e));
                if (!any) firstX = x, firstY = y, firstZ = static_cast<float>(e);
                any = true;
            } else if (line == "1001") {
                ApplicationLine(Line());
            } else if (line == "1000") {
                const std::string v = Line();
                if (application != SouthApplication && application != OwnApplication) continue;
                std::string q;
                if (application == SouthApplication) {
                    q = ProxyLookupByKey(proxy, v);
                } else {
                    ours = true;
                    q = v;
                    const double n = DxfNumber(v);
                    if (n < 350) proxy.ProxyLookupResult = "15";
                    if (n > 350) proxy.ProxyLookupResult = "41";
                }
                const double kind = DxfNumber(proxy.ProxyLookupResult);
                for (int s = std::max(Now(start), 0); s <= slot; ++s) {
                    MapRecord& r = At(s);
                    if (kind == 41) {
                        r.RecordText = q;
                        r.RecordPen = 6;
                        if (r.RecordType < 6) r.RecordType = static_cast<std::uint8_t>(r.RecordType + 40);
                    } else if (kind < 15) {
                        r.RecordPen = 7;
                    }
                }
            }
        }
        if (!any) {
            DropLast();
            return;
        }
        // Our own light polylines carry the record type in the flag: they are closed already.
        if ((f & 1) == 0 || ours) return;
        // A cut that had to break the chain (no other slot to cut at) took the first record into
        // the spill layer: the last one carries the same colour and pen.
        MapRecord first = Now(start) >= 0 ? At(Now(start)) : At(slot);
        first.RecordX1 = firstX, first.RecordY1 = firstY, first.RecordZ1 = firstZ;
        MapRecord& last = At(slot);
        const int t = last.RecordType;
        switch (t) {
            case 1:
            case 41:
                last.RecordX2 = first.RecordX1, last.RecordY2 = first.RecordY1, last.RecordZ2 = first.RecordZ1;
                last.RecordColor = first.RecordColor;
                last.RecordPen = first.RecordPen;
                last.RecordType = static_cast<std::uint8_t>(t + 1);
                break;
            case 2:
            case 42:
                last.RecordX3 = first.RecordX1, last.RecordY3 = first.RecordY1, last.RecordZ3 = first.RecordZ1;
                last.RecordType = static_cast<std::uint8_t>(t + 1);
                break;
            case 3:
            case 43:
                last.RecordX4 = first.RecordX1, last.RecordY4 = first.RecordY1, last.RecordZ4 = first.RecordZ1;
                last.RecordType = static_cast<std::uint8_t>(t + 1);
                break;
            case 4:
            case 44: {
                last.RecordType = static_cast<std::uint8_t>(t + 1);
                const std::string text = last.RecordText;
                const std::string extra = last.RecordExtra;
                // The record before is full now, so a cut made for this slot keeps it whole.
                MapRecord& end = At(Append());
                end.RecordX1 = first.RecordX1, end.RecordY1 = first.RecordY1, end.RecordZ1 = first.RecordZ1;
                end.RecordColor = first.RecordColor;
                end.RecordPen = first.RecordPen;
                end.RecordText = text;
                end.RecordExtra = extra;
                end.RecordType = static_cast<std::uint8_t>(t + 1 - 4);
                break;
            }
            default:
                break;
        }
    }

    void Circle() {
        MapRecord& r = At(Append());
        r.RecordType = 7;
        for (;;) {
            const std::string line = Line();
            if (line == "0") return;
            if (Coordinate(line, r, 0, 0)) continue;
            if (line == "40") {
                r.RecordX2 = Number();
                r.RecordY2 = 1;
            } else if (line == "AcDbArc") {
                Raw();
                r.RecordX3 = Angle(Number());
                Raw();
                r.RecordY3 = Angle(Number());
                r.RecordType = 8;
            }
        }
    }

    // Our own insertions: land-use marks and image links, with the record type they name.
    void OwnInsertion() {
        MapRecord& r = At(Append());
        r.RecordType = 16;
        for (;;) {
            const std::string line = Line();
            if (line == "0") return;
            if (Coordinate(line, r, 0, 1)) continue;
            if (line == "62") {
                r.RecordColor = RuleH(Line());
            } else if (line == "6") {
                r.RecordType = ToByte(Number());
            } else if (line == "2") {
                r.RecordText = Line();
            }
        }
    }

    // A block reference becomes a point symbol; the proxy table or the extended data give its code.
    void BlockReference() {
        MapRecord& r = At(Append());
        r.RecordType = 15;
        DefaultColor(r);
        r.RecordText = "014";
        for (;;) {
            const std::string line = Line();
            if (line == "0") return;
            if (Coordinate(line, r, 0, 0)) continue;
            if (line == "62") {
                r.RecordColor = RuleL(Line());
            } else if (line == "6") {
                r.RecordType = ToByte(Number());
            } else if (line == "41") {
                r.RecordX3 = Number();
            } else if (line == "42") {
                r.RecordY3 = Number();
            } else if (line == "43") {
                r.RecordZ3 = static_cast<float>(Number());
                r.RecordX2 = 0;
                r.RecordY2 = 1;
            } else if (line == "50") {
                float a = static_cast<float>(Number());
                if (a > 360) a -= 360;
                if (a < 0) a += 360;
                r.RecordZ2 = static_cast<float>(FullTurn * static_cast<double>(a) / 360);
                r.RecordX2 = -std::sin(static_cast<double>(r.RecordZ2));
                r.RecordY2 = std::cos(static_cast<double>(r.RecordZ2));
            } else if (line == "2") {
                const std::string name = Line();
                r.RecordExtra = name;
                r.RecordType = 15;
                LoadProxy();
                r.RecordText = ProxyLookupByCodeA(proxy, name);
                if (DxfNumber(r.RecordText) == 0) r.RecordText = "014";
            } else if (line == "1001") {
                ApplicationLine(Line());
            } else if (line == "1000") {
                const std::string v = Line();
                if (application == SouthApplication) {
                    r.RecordText = ProxyLookupByKey(proxy, v);
                    r.RecordType = 15;
                } else if (application == OwnApplication) {
                    r.RecordText = v;
                    r.RecordType = 15;
                } else if (application == "DM") {
                    r.RecordText = "1";
                    r.RecordExtra = v;
                    r.RecordType = 15;
                }
            }
        }
    }

    // A text or a formatted text becomes an annotation. It is read as code and value pairs up to
    // the code "0" that starts the next entity, so that no value of its own (a handle "10" of the
    // next entity, a "0" of an alignment point) is taken for a code, and the next entity is read
    // in full. It returns "ENDSEC" when the section ends there, else nothing.
    std::string TextEntity() {
        MapRecord& r = At(Append());
        r.RecordFont = "黑体";
        r.RecordType = 65;
        DefaultColor(r);
        for (;;) {
            const std::string code = Line();
            if (code == "AcDbEntity" || code == "ENDSEC") return code;
            if (code == "EOF") throw ImportEnded{};
            if (code == "MTEXTBEGIN") {
                r.RecordY2 = 0.7;
                while (Raw() != "MTEXTEND") {
                }
                continue;
            }
            const std::string value = Line();
            if (code == "0") {
                if (value == "EOF") throw ImportEnded{};
                return value == "ENDSEC" ? value : std::string();
            }
            if (code == "10") r.RecordX1 = DxfNumber(value);
            if (code == "20") r.RecordY1 = DxfNumber(value);
            if (code == "30") r.RecordZ1 = static_cast<float>(DxfNumber(value));
            if (code == "62") {
                r.RecordColor = RuleH(value);
            } else if (code == "40") {
                TextHeight(r, value);
            } else if (code == "1") {
                std::string text = value;
                const size_t semicolon = text.rfind(';');
                // A formatted text keeps what follows its last format code.
                if (semicolon != std::string::npos) text = text.substr(semicolon + 1);
                r.RecordText = text;
                if (r.RecordZ1 == 0) {
                    // A text that is a number is a spot height.
                    const double z = DxfNumber(text);
                    r.RecordZ1 = z > 999 ? 0.0f : static_cast<float>(z);
                }
            } else if (code == "41") {
                const double w = StrictNumber(value);
                r.RecordY2 = 0.7;
                if (w < 0.5) {
                    r.RecordY2 = 0.5;
                    r.RecordType = 66;
                } else if (w > 3) {
                    r.RecordY2 = 1.2;
                    r.RecordType = 66;
                }
            } else if (code == "50") {
                float a = static_cast<float>(DxfNumber(value));
                if (a > 360) a -= 360;
                r.RecordZ2 = a;
                if (r.RecordY2 == 0) r.RecordY2 = 0.7;
                // The angle goes through its seven-digit text, as the single it is.
                const double degrees = DxfNumber(PlainNumberText(a));
                const auto turn = static_cast<float>(Pi * degrees / 180);
                const double h = textHeight;
                r.RecordY1 = h * std::cos(static_cast<double>(turn)) + r.RecordY1 - h;
                r.RecordX1 = r.RecordX1 - h * std::sin(static_cast<double>(turn));
                r.RecordType = 66;
            } else if (code == "51") {
                r.RecordY3 = -1;
                r.RecordFont = "华文细黑";
            } else if (code == "7") {
                r.RecordFont = "华文细黑";
            }
        }
    }

    // The text height gives the size and pen of the text and raises its anchor to its top.
    void TextHeight(MapRecord& r, const std::string& value) {
        const double h = value == "100" ? 1.5 : DxfNumber(value);
        textHeight = h;
        const double scale = app.view.ScaleFactor;
        double v = (h * 2.5 + 1) / scale;
        if (!(v > 0)) v = 8;  // a zero scale gives no number at all
        if (v < 255) {
            const double size = Int(v);
            r.RecordPen = static_cast<std::uint8_t>(size);
            r.RecordX2 = std::fabs(size);
            if (size > 17) r.RecordFont = "黑体";
            r.RecordY1 += h;
        } else {
            r.RecordPen = 255;
            r.RecordX2 = 16;
            r.RecordType = 67;
            r.RecordY1 += 16 * scale / 2.5 - 1;
        }
    }

    // A value that must be a number as a whole: anything else ends the import (error 13).
    static double StrictNumber(const std::string& text) {
        const std::string t = Trim(text);
        if (t.empty()) Raise(ErrTypeMismatch);
        size_t i = 0;
        if (t[i] == '+' || t[i] == '-') ++i;
        bool digits = false;
        while (i < t.size() && std::isdigit(static_cast<unsigned char>(t[i]))) ++i, digits = true;
        if (i < t.size() && t[i] == '.') {
            ++i;
            while (i < t.size() && std::isdigit(static_cast<unsigned char>(t[i]))) ++i, digits = true;
        }
        if (digits && i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
            ++i;
            if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
            const size_t start = i;
            while (i < t.size() && std::isdigit(static_cast<unsigned char>(t[i]))) ++i;
            if (i == start) Raise(ErrTypeMismatch);
        }
        if (!digits || i != t.size()) Raise(ErrTypeMismatch);
        return DxfNumber(t);
    }

    static double Angle(double degrees) {
        double a = 2 * Pi * degrees / 360;
        if (a < 0) a += FullTurn;
        if (a > 2 * Pi) a -= FullTurn;
        return a;
    }

    // Each layer that received records keeps its count at the open slot after its last record;
    // what a header put ahead for an entity that never came is cleared.
    void Finish() {
        auto& s = store();
        const int top = std::min<int>(s.LayerCount, s.LayerDimension());
        for (int l = 1; l <= top; ++l) {
            int& count = s.Count(l);
            if (received.count(l) != 0) ++count;
            s.ClearFrom(l, count);
        }
    }
};

}  // namespace

double DxfNumber(std::string_view text) {
    std::string t;
    t.reserve(text.size());
    for (char c : text)
        if (c != ' ' && c != '\t' && c != '\n') t.push_back(c);
    size_t i = 0;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    const size_t digitsStart = i;
    while (i < t.size() && std::isdigit(static_cast<unsigned char>(t[i]))) ++i;
    size_t mantissaDigits = i - digitsStart;
    if (i < t.size() && t[i] == '.') {
        ++i;
        const size_t fraction = i;
        while (i < t.size() && std::isdigit(static_cast<unsigned char>(t[i]))) ++i;
        mantissaDigits += i - fraction;
    }
    if (mantissaDigits == 0) return 0;
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        size_t j = i + 1;
        if (j < t.size() && (t[j] == '+' || t[j] == '-')) ++j;
        if (j < t.size() && std::isdigit(static_cast<unsigned char>(t[j]))) {
            while (j < t.size() && std::isdigit(static_cast<unsigned char>(t[j]))) ++j;
            i = j;
        }
    }
    const double v = std::strtod(t.substr(0, i).c_str(), nullptr);
    if (!std::isfinite(v)) Raise(ErrOverflow);
    return v;
}

DxfImportOutcome ImportDxf(App& app, const std::string& path) {
    app.reduction.ReductionOffsetX = 0;
    app.reduction.ReductionOffsetY = 0;
    app.extents.ExtentMinX = app.extents.ExtentMinY = 0;
    app.extents.ExtentMaxX = app.extents.ExtentMaxY = 0;
    app.current.CurrentFilePath = path;

    std::string bytes;
    try {
        bytes = ReadWholeFile(path);
    } catch (...) {
        DxfImportOutcome cannotOpen;
        cannotOpen.failed = true;
        const RuntimeError error = CurrentRuntimeError();
        cannotOpen.failureNumber = error.number;
        cannotOpen.failureText = error.description;
        return cannotOpen;
    }
    DxfReader reader(app, std::move(bytes));
    try {
        reader.Run();
    } catch (const ImportEnded&) {
    } catch (...) {
        const RuntimeError error = CurrentRuntimeError();
        reader.outcome.failed = true;
        reader.outcome.failureNumber = error.number;
        reader.outcome.failureText = error.description;
        reader.outcome.failureLine = reader.lines.LineNumber();
    }
    try {
        reader.Finish();
    } catch (...) {
    }
    // The parts cut from overfull layers come back as layers of their own, also after a failure:
    // what was read stays.
    ImportSpill& spill = reader.spill;
    if (spill.SpillFileCount > 0) {
        try {
            app.store.NextLayerIndex = static_cast<std::uint8_t>(app.store.NextLayerIndex + spill.SpillFileCount);
            硬盘建层(app);
            for (const ImportSpill::Block& block : spill.blocks) app.store.Count(block.layer) = 0;
            RestoreOverflowRecords(app, spill);
        } catch (...) {
            if (!reader.outcome.failed) {
                const RuntimeError error = CurrentRuntimeError();
                reader.outcome.failed = true;
                reader.outcome.failureNumber = error.number;
                reader.outcome.failureText = error.description;
            }
        }
    }
    reader.outcome.layersOnly = reader.outcome.result == -1 && reader.entityLinesSeen && !reader.markerSeen;
    return reader.outcome;
}

}  // namespace movra
