#pragma once
#include <cstdint>
#include <functional>
#include <string>

namespace movra {

struct App;
struct MapRecord;

// What the query dialog looks for. The numbers are the ones the dialog keeps in its QueryKind: the
// option buttons give 1 to 12, the attribute classes 53 + class.
enum QueryKindCode : std::uint8_t {
    QueryAnnotation = 1,
    QueryElevation = 2,
    QueryPointName = 3,
    QueryBoundaryPointNumber = 4,
    QueryParcelNumber = 5,
    QueryBoundaryEdge = 6,
    QueryCoordinates = 7,
    QueryAttribute = 8,
    QueryLineType = 9,
    QueryTextHeight = 10,
    QueryFont = 11,
    QuerySlant = 12,
    QueryClass0 = 53,
    QueryClass1 = 54,
    QueryClass2 = 55,
    QueryClass3 = 56,
    QueryClass4 = 57,
};

// The most hits one scan records.
inline constexpr int QueryHitLimit = 31999;

// The search as the records are compared with it, made once from the typed text.
struct QueryTerms {
    // The typed text without leading and trailing blanks: compared whole and case-sensitively.
    std::string text;
    // The number the text begins with (0 when none), at double precision and rounded to a single
    // for the single-precision Z fields.
    double number = 0;
    float single = 0;
    // The typed point of the coordinate query: the numbers before and after the field separator.
    double x = 0, y = 0;
    // The line of an attribute record's text (from 0) and the class-0 field compared.
    std::uint8_t fieldIndex = 0;
};

// The number a typed text begins with, 0 when none; a number too large to read is read as far as
// a double reaches, so it matches nothing rather than failing.
double QueryNumber(const std::string& text);

QueryTerms MakeQueryTerms(const App& app, const std::string& typed, std::uint8_t fieldIndex);

// The kinds whose search text must be a number: a text that is not "0" and reads as 0 finds nothing.
bool QueryNeedsNumber(std::uint8_t kind);

// True when the record is a hit of the kind: a record of a type the kind examines that matches
// the terms. Empty slots and deleted records are never hits; an unknown kind finds nothing.
bool IsQueryHit(const App& app, std::uint8_t kind, const MapRecord& record, const QueryTerms& terms);

// Line `index` (from 0) of an attribute record's text split at the program's line break; false
// when the text has fewer lines.
bool AttributeLine(const App& app, const std::string& text, std::size_t index, std::string& line);

// Visits every hit of the kind in store order: the layers that are on and hold a record, their
// slots below the count. Stops after `limit` hits; a record that cannot be read is passed over.
// Returns the number of hits.
int ScanForHits(App& app, std::uint8_t kind, const QueryTerms& terms, int limit,
                const std::function<void(int layer, int slot)>& onHit);

}  // namespace movra
