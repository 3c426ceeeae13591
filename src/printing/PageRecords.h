#pragma once

#include "display/RecordRenderer.h"

namespace movra {

struct App;

// The printer's table of the record switch: the screen's row type, the printer's drawers, and
// the cell test of each row in its Cull (None, P1, Box4).
const RecordTable& PrintRecordTable();

// The record loop of a printed page: every record of every printed layer (on, with a count of
// 2 or more, ascending), in store order, printed by its type into the page cell
// app.printState.CellLeft .. CellRight, CellBottom .. CellTop on app.platform.printer().Page(),
// whose window and scale factors PrintPage has set. Runs between the true frame and the
// footnote; a failing record is skipped and the loop goes on.
void PrintPageRecords(App& app);

}  // namespace movra
