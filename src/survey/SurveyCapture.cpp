#include "survey/SurveyCapture.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "App.h"
#include "basic/Errors.h"
#include "basic/Numbers.h"
#include "basic/Text.h"
#include "document/Geometry.h"
#include "document/StoreRecord.h"

namespace movra {

namespace {

// Beyond this no instrument measures: such a value comes from a garbled record and would put
// nonsense coordinates into the map.
constexpr double HighestElevation = 1e7;

constexpr std::uint8_t TerrainPointType = 61;
constexpr std::uint8_t SymbolPointType = 15;
constexpr std::uint8_t LineFirstType = 41;
constexpr std::uint8_t LineChainedType = 45;
constexpr std::uint8_t ElevationFirstType = 46;

std::uint8_t& StateOf(App& app, int layer) { return app.survey.SurveyVertexState.at(static_cast<size_t>(layer)); }
std::uint8_t& KindOf(App& app, int layer) { return app.survey.SurveyVertexKind.at(static_cast<size_t>(layer)); }

// Ends the record in progress of the layer: a record holding vertices is committed, so that the
// next capture starts in the slot after it.
void CloseRecordInProgress(App& app, int layer) {
    std::uint8_t& state = StateOf(app, layer);
    if (state >= 1 && state <= 3) app.store.Count(layer) += 1;
    state = 0;
    KindOf(app, layer) = SurveyNothing;
}

// A new line asked for ("新"): the record in progress ends and the open slot advances whether or
// not one was in progress, so the new line stands apart from what came before; a slot passed over
// is left empty.
void StartNewLine(App& app, int layer) {
    RecordStore& store = app.store;
    std::uint8_t& state = StateOf(app, layer);
    const int open = store.Count(layer);
    if (state < 1 || state > 3) store.At(layer, open) = MapRecord{};
    store.Count(layer) = open + 1;
    state = 0;
    KindOf(app, layer) = SurveyNothing;
}

void SetVertex(MapRecord& r, int vertex, const DetailPoint& p) {
    const float h = static_cast<float>(p.H);
    switch (vertex) {
        case 1: r.RecordX1 = p.E; r.RecordY1 = p.N; r.RecordZ1 = h; break;
        case 2: r.RecordX2 = p.E; r.RecordY2 = p.N; r.RecordZ2 = h; break;
        case 3: r.RecordX3 = p.E; r.RecordY3 = p.N; r.RecordZ3 = h; break;
        default: r.RecordX4 = p.E; r.RecordY4 = p.N; r.RecordZ4 = h; break;
    }
}

}  // namespace

StationData GetStationData(const App& app) {
    const StationSetup& s = app.station;
    return {s.StationY[0], s.StationX[0], s.StationH[0], s.StationAngles[1], s.StationAngles[0]};
}

DetailPoint ComputeDetailPoint(const App& app, const SurveyReading& reading) {
    const StationData station = GetStationData(app);
    const double S = reading.slope;
    const double V = DmsToRad(reading.vertical);
    const double Hz = DmsToRad(reading.direction);
    const double D = S * std::cos(V);
    const double A = Hz + station.zeroAzimuth - station.zeroReading;
    DetailPoint p;
    p.N = station.northing + D * std::cos(A);
    p.E = station.easting + D * std::sin(A);
    const double h = (reading.instrumentHeight + station.elevation - reading.targetHeight) + S * std::sin(V);
    p.H = Int(h * 100 + 0.5) / 100;
    if (!IsStorablePoint(p.E, p.N) || !std::isfinite(p.H) || std::fabs(p.H) > HighestElevation)
        Raise(ErrOverflow);
    return p;
}

std::string SurveyPointCode(const std::string& codeBox, bool terrainModelling) {
    return terrainModelling ? std::string("998") : Trim(codeBox);
}

double SurveyCodeNumber(const std::string& code) {
    // The whole code must be a number, as a conversion of the text would have it.
    const std::string t = Trim(code);
    if (t.empty()) Raise(ErrTypeMismatch);
    char* end = nullptr;
    const double v = std::strtod(t.c_str(), &end);
    if (end != t.c_str() + t.size() || !std::isfinite(v)) Raise(ErrTypeMismatch);
    // Hexadecimal and the words strtod also takes are no codes.
    for (char c : t)
        if (!(std::isdigit(static_cast<unsigned char>(c)) || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E'))
            Raise(ErrTypeMismatch);
    return v;
}

SurveyPointKind KindOfCode(const std::string& code, double number) {
    if (code == "998") return SurveyPointKind::Terrain;
    if (number >= 1 && number <= 350) return SurveyPointKind::Symbol;
    if (number >= 351 && number <= 700) return SurveyPointKind::LineVertex;
    return SurveyPointKind::Elevation;
}

int SurveyTargetLayer(const App& app) {
    const int chosen = app.survey.SurveyLayer;
    if (chosen >= 1 && chosen <= app.store.LayerCount) return chosen;
    return std::max<int>(1, app.store.CurrentLayer);
}

void SizeSurveyVertexStates(App& app) {
    const size_t layers = static_cast<size_t>(app.store.LayerCount) + 1;
    if (app.survey.SurveyVertexState.size() < layers) app.survey.SurveyVertexState.resize(layers, 0);
    if (app.survey.SurveyVertexKind.size() < layers) app.survey.SurveyVertexKind.resize(layers, SurveyNothing);
}

void ResetSurveyVertexStates(App& app) {
    SizeSurveyVertexStates(app);
    const int layers = std::min<int>(static_cast<int>(app.survey.SurveyVertexState.size()) - 1,
                                     std::min<int>(app.store.LayerCount, app.store.LayerDimension()));
    for (int layer = 0; layer <= layers; ++layer) {
        try {
            CloseRecordInProgress(app, layer);
        } catch (...) {
        }
    }
    std::fill(app.survey.SurveyVertexState.begin(), app.survey.SurveyVertexState.end(), 0);
    std::fill(app.survey.SurveyVertexKind.begin(), app.survey.SurveyVertexKind.end(), SurveyNothing);
}

bool StoreDetailPoint(App& app, const DetailPoint& p, const std::string& code) {
    const double number = SurveyCodeNumber(code);
    SizeSurveyVertexStates(app);
    const int L = SurveyTargetLayer(app);
    RecordStore& store = app.store;
    SurveyCapture& survey = app.survey;
    const SurveyPointKind kind = KindOfCode(code, number);

    const bool newLine = number > 350 && number < 700 && survey.SurveyLineContinue == 0;

    // Room for the slot written and the open slot after it (and the slot a new line passes over);
    // the layer grows when it is full.
    const int room = newLine ? 3 : 2;
    if (store.Count(L) + room > store.LayerCapacity) GrowLayerCapacity(app);
    if (store.Count(L) + room > store.LayerCapacity) throw RuntimeError(ErrSubscriptOutOfRange, LayerFullMessage);

    if (newLine) StartNewLine(app, L);
    // A point of another kind than the record in progress closes it first.
    const std::uint8_t state = StateOf(app, L);
    const std::uint8_t inProgress = KindOf(app, L);
    const bool holdsVertices = state >= 1 && state <= 3;
    switch (kind) {
        case SurveyPointKind::Terrain:
        case SurveyPointKind::Symbol:
            if (holdsVertices) CloseRecordInProgress(app, L);
            break;
        case SurveyPointKind::Elevation:
            if ((holdsVertices && inProgress != SurveyElevations) || state == 4) CloseRecordInProgress(app, L);
            break;
        case SurveyPointKind::LineVertex:
            if (holdsVertices && inProgress != SurveyLine) CloseRecordInProgress(app, L);
            break;
    }

    std::uint8_t& st = StateOf(app, L);
    std::uint8_t& kd = KindOf(app, L);
    const int s = store.Count(L);
    bool lineStarted = false;
    const Rgb color = app.current.CurrentColor;
    switch (kind) {
        case SurveyPointKind::Terrain:
        case SurveyPointKind::Symbol: {
            MapRecord& r = store.At(L, s);
            r.RecordType = kind == SurveyPointKind::Terrain ? TerrainPointType : SymbolPointType;
            r.RecordColor = color;
            r.RecordPen = 2;
            SetVertex(r, 1, p);
            r.RecordText = kind == SurveyPointKind::Terrain ? std::string("998") : code;
            store.Count(L) = s + 1;
            st = 0;
            kd = SurveyNothing;
            break;
        }
        case SurveyPointKind::LineVertex: {
            if (st == 0 || st == 4) {
                if (st == 4) store.At(L, s - 1).RecordType = LineChainedType;
                MapRecord& r = store.At(L, s);
                r.RecordType = LineFirstType;
                r.RecordColor = color;
                r.RecordPen = 6;
                SetVertex(r, 1, p);
                r.RecordText = code;
                if (st == 0) {
                    survey.SurveyLineContinue = -1;
                    lineStarted = true;
                }
                st = 1;
                kd = SurveyLine;
            } else {
                MapRecord& r = store.At(L, s);
                r.RecordType = static_cast<std::uint8_t>(LineFirstType + st);
                SetVertex(r, st + 1, p);
                r.RecordText = code;
                if (st == 3) {
                    store.Count(L) = s + 1;
                    st = 4;
                } else {
                    ++st;
                }
            }
            break;
        }
        case SurveyPointKind::Elevation: {
            MapRecord& r = store.At(L, s);
            if (st == 0) {
                r.RecordType = ElevationFirstType;
                r.RecordColor = app.tables.ColorPalette[1];
                r.RecordPen = 2;
                SetVertex(r, 1, p);
                r.RecordText = code;
                st = 1;
                kd = SurveyElevations;
            } else {
                r.RecordType = static_cast<std::uint8_t>(ElevationFirstType + st);
                SetVertex(r, st + 1, p);
                r.RecordText = std::string(r.RecordText) + "!" + code;
                if (st == 3) {
                    store.Count(L) = s + 1;
                    st = 0;
                    kd = SurveyNothing;
                } else {
                    ++st;
                }
            }
            break;
        }
    }
    app.current.ModifiedFlag = -1;
    return lineStarted;
}

std::string OrientOnZeroDirection(App& app, double directionReading, const std::string& lineBreak) {
    StationSetup& s = app.station;
    s.StationAngles[0] = DmsToRad(directionReading);
    s.StationAngles[1] = Azimuth(s.StationX[0], s.StationY[0], s.StationX[1], s.StationY[1]);
    const double beta = AngleBetween(s.StationX[0], s.StationY[0], s.StationX[1], s.StationY[1], s.StationX[2],
                                     s.StationY[2]);
    const std::string prediction = DmsText(RadToDms(beta + s.StationAngles[0]));
    // The circle is best set near zero on the zero direction, so that readings stay small.
    if (directionReading < 0 || directionReading > 9)
        return "零方向读数宜在0~9度之间" + lineBreak + "检查方向读数预测为:" + lineBreak + prediction + lineBreak;
    return "检查方向读数预测(ddd.mmss)为:" + lineBreak + prediction;
}

std::string CheckDirectionError(const App& app, double directionReading, const std::string& lineBreak) {
    const StationSetup& s = app.station;
    const double beta = AngleBetween(s.StationX[0], s.StationY[0], s.StationX[1], s.StationY[1], s.StationX[2],
                                     s.StationY[2]);
    double m = DmsToRad(directionReading) - (beta + s.StationAngles[0]);
    // A difference of a whole turn is no error: the circle reads the same direction.
    m = std::remainder(m, TwoPi);
    const double e = RadToDms(m);
    // Five decimals, cut towards zero; the small allowance keeps 5" from reading 4.9".
    const double magnitude = Int(std::fabs(e) * 100000 + 1e-6) / 100000;
    const double shown = e < 0 && magnitude > 0 ? -magnitude : magnitude;
    return "检查方向读数误差(ddd.mmss)为:" + lineBreak + DmsText(shown);
}

}  // namespace movra
