#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace movra {

struct App;
struct MapRecord;

// Houses and parcels carry attribute records of five classes. Class c is stored as record type
// 53 + c. Class 0 has six fixed fields held in fixed fields of the record; classes 1 to 4 keep one
// value per line of RecordText, named by AttributeFieldNames[c].
//
// Layout of an attribute record (a point record):
//   X1, Y1     the placed point            X2, Y2   TextSize, TextWidthFactor when placed
//   class 0:   RecordText 姓名, RecordExtra 门牌, X4 电话1, Y4 电话2, X3 面积, Z4 房高 (single)
//   class 1-4: RecordText the values joined by the line break, the numeric fields 0
//   colour, pen, font: the current ones when placed
using AttributeClass = int;
constexpr int AttributeClassCount = 5;
constexpr std::uint8_t AttributeTypeBase = 53;
// The most names a field list holds (positions 0 to 254).
constexpr int MaxAttributeFieldNames = 255;

constexpr bool IsAttributeRecordType(int type) {
    return type >= AttributeTypeBase && type < AttributeTypeBase + AttributeClassCount;
}

// The fixed fields of class 0, by position.
enum Class0Field : int { FieldName = 0, FieldHouseNumber, FieldPhone1, FieldPhone2, FieldArea, FieldHeight };
extern const char* const Class0FieldNames[6];
// The attribute classes as the attribute and query windows list them, and the line that stands
// for the anchor word among a class's fields.
inline constexpr const char* AttributeClassItems[AttributeClassCount] = {"0类属性", "1类属性", "2类属性", "3类属性",
                                                                       "4类属性"};
inline constexpr const char* AnchorWordItem = "[挂靠词]$";

// The values of a class-0 record.
struct Class0Values {
    std::string name;
    std::string houseNumber;
    double phone1 = 0;
    double phone2 = 0;
    double area = 0;
    float height = 0;
};

// Class-0 values from typed lines: line k is field k; the numbers are the number each line
// begins with (0 when none); missing lines count as empty or 0.
Class0Values Class0ValuesFromLines(const std::vector<std::string>& lines);

// A text split at the program's line break, every piece kept (an ending break gives a last empty
// piece); an empty text gives one empty piece.
std::vector<std::string> SplitLines(const App& app, const std::string& text);

// The field names of class c (1 to 4) as the dialogs list them: a list never set gets its one
// name, and an empty name becomes "未设置" in the list itself.
const std::vector<std::string>& FieldNamesShown(App& app, int c);

// Puts the text in hand: PendingText the whole text, PendingTextLines its lines.
void SetPendingText(App& app, const std::string& text);

// Stores a class-0 record at (x, y) in CurrentLayer through StoreRecord mode 0. True when stored.
bool StoreClass0Record(App& app, double x, double y, const Class0Values& values);

// Stores the record of AttributeRecordType at (x, y) in CurrentLayer from the text in hand: a
// class-0 record from PendingTextLines, a class 1-4 record with PendingText as its text. Any other
// type stores nothing. True when a record was stored.
bool StoreAttributeRecord(App& app, double x, double y);

// The class-0 record whose popup was shown last when its point lies less than 5 screen
// millimetres from (x, y) in x and in y, else null: the single-field tools fill it rather than
// storing a new record.
MapRecord* PickedClass0RecordNear(App& app, double x, double y);

// The lines of a record's popup ("姓名：张三", "面积：86.5平米", "name:value"); none for a record
// that is no attribute record or a class 1-4 record with an empty text.
std::vector<std::string> AttributePopupLines(const App& app, const MapRecord& record);

// Paints the popup of (PickedLayer, PickedSlot): yssbie -1 in CurrentColor, any other value in
// the canvas background, which erases it. Errors are written into the message line.
void 查类属性(App& app, std::int16_t& yssbie);

// Shows the popup of the first attribute record in scan order less than 8 screen pixels'
// worth of ground (8 x DisplayZoomInverse) from (x, y) in x and in y, erasing the popup shown
// before. The record shown keeps its pick while it stays in reach.
void ShowAttributeHover(App& app, double x, double y);

}  // namespace movra
