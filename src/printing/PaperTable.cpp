#include "printing/PaperTable.h"

namespace movra {

namespace {

// Searched in this order: the first row with the name gives the code. The short names stand
// right after the long name they share a code with.
constexpr PaperRow Rows[PaperTableSize] = {
    {"纸规格_10X11", 45}, {"纸规格_10X14", 16}, {"纸规格_11X17", 17},
    {"纸规格_15X11", 46}, {"纸规格_9X11", 44}, {"纸规格_A_PLUS", 57},
    {"A0", 57}, {"纸规格_A2", 66}, {"A2", 66},
    {"纸规格_A3", 8}, {"A3", 8}, {"纸规格_A3_EXTRA", 63},
    {"纸规格_A3_EXTRA_TRANSVERSE", 68}, {"纸规格_A3_TRANSVERSE", 67}, {"纸规格_A4", 9},
    {"A4", 9}, {"纸规格_A4_EXTRA", 53}, {"纸规格_A4_PLUS", 60},
    {"纸规格_A4_TRANSVERSE", 55}, {"纸规格_A4SMALL", 10}, {"纸规格_A5", 11},
    {"A5", 11}, {"纸规格_A5_EXTRA", 64}, {"纸规格_A5_TRANSVERSE", 61},
    {"纸规格_B_PLUS", 58}, {"纸规格_B4", 12}, {"纸规格_B5", 13},
    {"纸规格_B5_EXTRA", 65}, {"纸规格_B5_TRANSVERSE", 62}, {"纸规格_CSHEET", 24},
    {"纸规格_DSHEET", 25}, {"纸规格_ENV_10", 20}, {"纸规格_ENV_11", 21},
    {"纸规格_ENV_12", 22}, {"纸规格_ENV_14", 23}, {"纸规格_ENV_9", 19},
    {"纸规格_ENV_B4", 33}, {"纸规格_ENV_B5", 34}, {"纸规格_ENV_B6", 35},
    {"纸规格_ENV_C3", 29}, {"纸规格_ENV_C4", 30}, {"纸规格_ENV_C5", 28},
    {"纸规格_ENV_C6", 31}, {"纸规格_ENV_C65", 32}, {"纸规格_ENV_DL", 27},
    {"纸规格_ENV_INVITE", 47}, {"纸规格_ENV_ITALY", 36}, {"纸规格_ENV_MONARCH", 37},
    {"纸规格_ENV_PERSONAL", 38}, {"纸规格_ESHEET", 26}, {"纸规格_EXECUTIVE", 7},
    {"纸规格_FANFOLD_LGL_GERMAN", 41}, {"纸规格_FANFOLD_STD_GERMAN", 40}, {"纸规格_FANFOLD_US", 39},
    {"纸规格_FIRST", 1}, {"纸规格_FOLIO", 14}, {"纸规格_ISO_B4", 42},
    {"纸规格_JAPANESE_POSTCARD", 43}, {"纸规格_LAST", 41}, {"纸规格_LEDGER", 4},
    {"纸规格_LEGAL", 5}, {"纸规格_LEGAL_EXTRA", 51}, {"纸规格_LETTER", 1},
    {"纸规格_LETTER_EXTRA", 50}, {"纸规格_LETTER_EXTRA_TRANSVERSE", 56}, {"纸规格_LETTER_PLUS", 59},
    {"纸规格_LETTER_TRANSVERSE", 54}, {"纸规格_LETTERSMALL", 2}, {"纸规格_NOTE", 18},
    {"纸规格_QUARTO", 15}, {"纸规格_RESERVED_48", 48}, {"纸规格_RESERVED_49", 49},
    {"纸规格_STATEMENT", 6}, {"纸规格_TABLOID", 3}, {"纸规格_TABLOID_EXTRA", 52},
    {"纸规格_USER", 256},
};

}  // namespace

std::span<const PaperRow> PaperTable() { return Rows; }

float PaperCodeForName(const std::string& name) {
    for (const PaperRow& row : Rows)
        if (name == row.name) return static_cast<float>(row.code);
    return 0;
}

std::vector<std::string> PaperListNames() {
    std::vector<std::string> names;
    const std::string prefix = "纸规格_";
    for (const PaperRow& row : Rows)
        if (std::string(row.name).rfind(prefix, 0) == 0) names.emplace_back(row.name);
    return names;
}

}  // namespace movra
