#pragma once
// The paper names the print dialog knows, with the Windows paper codes the printer takes.

#include <span>
#include <string>
#include <vector>

namespace movra {

struct PaperRow {
    const char* name;
    int code;
};

constexpr int PaperTableSize = 76;

// The 76 rows in search order: 71 names "纸规格_" + the name of a Windows paper size, and the
// short names "A0", "A2" to "A5".
std::span<const PaperRow> PaperTable();

// The code of the first row whose name is exactly `name` (no trimming, case counts); 0 when no
// row has it. A whole number, kept as the program keeps it.
float PaperCodeForName(const std::string& name);

// The 71 "纸规格_" names in table order: the items of the dialog's paper list.
std::vector<std::string> PaperListNames();

}  // namespace movra
