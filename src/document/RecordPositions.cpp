#include "document/RecordPositions.h"

namespace movra {

Positions PositionsOf(int type) {
    if (type >= 100 && type < 200) type -= 100;
    switch (type) {
        case 2: case 12: case 21: case 22: case 23: case 27: case 32: case 42: case 47: case 72:
        case 92:
        case 99:             // an erasing line runs from P1 to P2
        case 201: case 211:  // the segment records of a sheet cut
            return Positions::FirstTwo;
        case 3: case 28: case 33: case 43: case 48: case 73: case 93:
            return Positions::FirstThree;
        case 4: case 5: case 6: case 10: case 11: case 13: case 14: case 29: case 30: case 34:
        case 36: case 44: case 45: case 49: case 52: case 58: case 59: case 74: case 75: case 94:
        case 95:
            return Positions::All;
        case 61: case 62:
            return Positions::FirstAndFourth;
        case 80: case 81: case 85: case 87:
            return Positions::Ticks;
        default:
            return Positions::First;
    }
}

void ForEachPosition(MapRecord& r, const std::function<void(double& x, double& y)>& visit) {
    visit(r.RecordX1, r.RecordY1);
    switch (PositionsOf(r.RecordType)) {
        case Positions::First:
            break;
        case Positions::FirstTwo:
            visit(r.RecordX2, r.RecordY2);
            break;
        case Positions::FirstThree:
            visit(r.RecordX2, r.RecordY2);
            visit(r.RecordX3, r.RecordY3);
            break;
        case Positions::All:
            visit(r.RecordX2, r.RecordY2);
            visit(r.RecordX3, r.RecordY3);
            visit(r.RecordX4, r.RecordY4);
            break;
        case Positions::FirstAndFourth:
            visit(r.RecordX4, r.RecordY4);
            break;
        case Positions::Ticks: {
            double* ticks[3][2] = {{&r.RecordX2, &r.RecordY2}, {&r.RecordX3, &r.RecordY3},
                                   {&r.RecordX4, &r.RecordY4}};
            for (auto& tick : ticks) {
                if (*tick[0] == 0 && *tick[1] == 0) break;
                visit(*tick[0], *tick[1]);
            }
            break;
        }
    }
}

bool HasStorablePositions(int type, double x1, double y1, double x2, double y2, double x3, double y3,
                          double x4, double y4) {
    // Asked of every record a map file brings, so it reads the vertices directly.
    if (!IsStorablePoint(x1, y1)) return false;
    switch (PositionsOf(type)) {
        case Positions::First:
            return true;
        case Positions::FirstTwo:
            return IsStorablePoint(x2, y2);
        case Positions::FirstThree:
            return IsStorablePoint(x2, y2) && IsStorablePoint(x3, y3);
        case Positions::All:
            return IsStorablePoint(x2, y2) && IsStorablePoint(x3, y3) && IsStorablePoint(x4, y4);
        case Positions::FirstAndFourth:
            return IsStorablePoint(x4, y4);
        case Positions::Ticks: {
            const double ticks[3][2] = {{x2, y2}, {x3, y3}, {x4, y4}};
            for (const auto& tick : ticks) {
                if (tick[0] == 0 && tick[1] == 0) break;
                if (!IsStorablePoint(tick[0], tick[1])) return false;
            }
            return true;
        }
    }
    return true;
}

bool HasStorablePositions(const MapRecord& r) {
    return HasStorablePositions(r.RecordType, r.RecordX1, r.RecordY1, r.RecordX2, r.RecordY2, r.RecordX3,
                                r.RecordY3, r.RecordX4, r.RecordY4);
}

bool HasStorablePositions(const FileRecord& r) {
    return HasStorablePositions(r.type, r.x1, r.y1, r.x2, r.y2, r.x3, r.y3, r.x4, r.y4);
}

void ForEachPosition(const MapRecord& record, const std::function<void(double x, double y)>& visit) {
    MapRecord& r = const_cast<MapRecord&>(record);  // visited read-only: the values are copied
    ForEachPosition(r, [&visit](double& x, double& y) { visit(x, y); });
}

}  // namespace movra
