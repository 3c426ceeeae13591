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

void ForEachPosition(const MapRecord& record, const std::function<void(double x, double y)>& visit) {
    MapRecord& r = const_cast<MapRecord&>(record);  // visited read-only: the values are copied
    ForEachPosition(r, [&visit](double& x, double& y) { visit(x, y); });
}

}  // namespace movra
