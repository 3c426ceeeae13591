#pragma once
// A recorded survey as a total station sends it: one record a line, fields 3, 4, 5 the slope
// distance, the direction and the vertical angle, the rest whatever the instrument adds (point
// numbers, names, remarks, Chinese ones in GBK on the wire). The first reading is on the zero
// direction and is shorter than 32 bytes, the second on the check direction; then 26 detail points
// of every kind, each with the code the surveyor types for it.
#include <cstdint>
#include <string>
#include <vector>

#include "App.h"
#include "basic/Numbers.h"

namespace movra {

struct SurveyedRecord {
    std::string line;  // without its line end, in UTF-8
    std::string code;  // the point code typed for it
};

inline const std::vector<SurveyedRecord>& RecordedSurvey() {
    static const std::vector<SurveyedRecord> records = {
        {"0,K2,0,100.215,0.0005,0.0000", "999"},
        {"1,K3,0,100.020,90.0012,0.0130", "999"},
        {"2,P2,1.500,122.721,285.1351,2.1820", "36"},
        {"3,P3,2,90.923,33.2529,2.1021,+1", "36"},
        {"4,P4,1.500,29.294,89.2101,-3.5109,树木,橡树", "400"},
        {"5,P5,2,218.124,174.2820,4.2348,", "400"},
        {"6,P6,0,150.673,214.2614,1.1103,TREE,OAK", "400"},
        {"7,P7,2,133.151,43.5419,-0.2711,pt07", "400"},
        {"8,P8,1.500,22.794,111.0739,-2.3920,TREE,OAK", "400"},
        {"9,P9,2,106.029,203.1208,-0.2531,pt09", "400"},
        {"10,P10,2,121.383,208.0154,2.4713,", "999"},
        {"11,P11,0,116.022,230.0455,0.4513,", "999"},
        {"12,P12,1.500,149.104,203.1541,1.1653,电杆", "999"},
        {"13,P13,0,82.179,39.1655,-1.1106,TREE,OAK", "999"},
        {"14,P14,1.500,81.471,78.3717,0.5438,", "999"},
        {"15,P15,1.500,32.980,86.3154,0.2717,TREE,OAK", "998"},
        {"16,P16,0,157.228,348.3724,6.5946", "998"},
        {"17,P17,2,195.017,264.4221,-6.5931,", "351"},
        {"18,P18,2,156.709,310.0203,3.2228,pt18", "351"},
        {"19,P19,2,132.303,240.4418,-1.3553,+17", "351"},
        {"20,P20,1.500,161.736,70.4022,2.1144,", "351"},
        {"21,P21,2,226.915,213.4907,1.3257,TREE,OAK", "150"},
        {"22,P22,2,70.474,229.0636,-5.3723,TREE,OAK", "150"},
        {"23,P23,0,118.896,108.1323,-6.4429,+21", "0"},
        {"24,P24,2,116.019,77.4049,4.0212,+22", "0"},
        {"25,P25,2,127.751,275.1709,-3.1810,+23", "0"},
        {"26,P26,2,187.904,166.1339,3.5020", "700"},
        {"27,P27,2,80.042,151.5217,4.2128,+25", "700"},
    };
    return records;
}

// The records a capture left in a layer, as text, from a slot up to the open slot: type, text,
// vertices and heights.
inline std::vector<std::string> CapturedRecords(const App& app, int layer, int firstSlot = 0) {
    std::vector<std::string> records;
    for (int slot = firstSlot; slot <= app.store.Count(layer); ++slot) {
        const MapRecord& r = app.store.Get(layer, slot);
        std::string text = PlainNumberText(static_cast<std::int32_t>(r.RecordType)) + " " + std::string(r.RecordText);
        for (double v : {r.RecordX1, r.RecordY1, r.RecordX2, r.RecordY2, r.RecordX3, r.RecordY3, r.RecordX4,
                         r.RecordY4})
            text += " " + PlainNumberText(v);
        for (float z : {r.RecordZ1, r.RecordZ2, r.RecordZ3, r.RecordZ4}) text += " " + PlainNumberText(z);
        records.push_back(text);
    }
    return records;
}

}  // namespace movra
