#pragma once

#include "display/RecordRenderer.h"

namespace movra {

struct App;

// The printer's table of the record switch: the screen's row type, the printer's drawers, and
// the cell test of each row in its Cull: None (lines clip themselves), P1 (a figure drawn about
// its first point: circles, ellipses, symbols, marks, texts, images; it prints where its extent
// meets the cell) and Box4 (the box of the four vertices meets the cell).
const RecordTable& PrintRecordTable();

// The record loop of a printed page: every record of every printed layer (on, with a count of
// 2 or more, ascending), in store order, printed by its type into the page's area
// app.printState.CellLeft .. CellRight, CellBottom .. CellTop on app.platform.printer().Page(),
// which, with the window and scale factors, PrintPage has set. The page is clipped to that area
// while the records print, so that a record across a seam shows its part on each page it touches. Runs
// between the true frame and the footnote; a failing record is skipped and the loop goes on.
void PrintPageRecords(App& app);

}  // namespace movra
