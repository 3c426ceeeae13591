// Writes the small self-made symbol library shipped in resources/符号库: a few symbols drawn in
// paper millimetres about their centres, in the library's 132-byte record form.
//   zfhbuild <output.Zfh>
#include <cstdio>
#include <string>
#include <vector>

#include "basic/Files.h"
#include "document/FileRecord.h"

using movra::FileRecord;

namespace {

FileRecord Segment(const char* name, double x1, double y1, double x2, double y2) {
    FileRecord r;
    r.type = 2;
    r.x1 = x1, r.y1 = y1, r.x2 = x2, r.y2 = y2;
    r.text = name;
    r.font = "0";
    return r;
}

FileRecord Circle(const char* name, double x, double y, double radius, int color) {
    FileRecord r;
    r.type = 7;
    r.color = color;
    r.x1 = x, r.y1 = y, r.x2 = radius, r.y2 = 1;
    r.text = name;
    r.font = "0";
    return r;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: zfhbuild <output.Zfh>\n");
        return 2;
    }
    std::vector<FileRecord> records = {
        // A triangulation point: a triangle with a dot in its middle.
        Segment("#三角点", -2.5, -1.5, 2.5, -1.5), Segment("#三角点", 2.5, -1.5, 0, 2.8),
        Segment("#三角点", 0, 2.8, -2.5, -1.5), Circle("#三角点", 0, 0, 0.3, 255),
        // A flag on a pole.
        Segment("#小旗", -1.5, -3, -1.5, 3), Segment("#小旗", -1.5, 3, 2.5, 2), Segment("#小旗", 2.5, 2, -1.5, 1),
        // A cross in a circle.
        Segment("#圆十字", -2, 0, 2, 0), Segment("#圆十字", 0, -2, 0, 2), Circle("#圆十字", 0, 0, 2, 65280),
    };
    FileRecord end;
    end.text = "JVQ";
    end.font = "0";
    records.push_back(end);
    std::string bytes;
    for (size_t i = 0; i < records.size(); ++i) {
        records[i].slot = static_cast<std::int16_t>(i + 1);
        movra::AppendFixedRecord(bytes, records[i]);
    }
    try {
        movra::WriteWholeFile(argv[1], bytes);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "zfhbuild: %s\n", error.what());
        return 1;
    }
    return 0;
}
