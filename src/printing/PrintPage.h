#pragma once
#include <string>

namespace movra {

struct App;

// The sides of a page's cell beyond which the job prints no further page.
struct OuterSides {
    bool west = false, north = false, east = false, south = false;
};

// Prints one page of a job on the printer: the page cell whose top-left corner is (x, y) (one
// page step across and down, clamped to the range's right and bottom edges), shown with a band
// of 5 % of the page on every side; the cell's true frame when asked for, the records
// (PrintPageRecords), the footnote with the print scale and the date, and a new page. The
// records print within the cell, and on its `outer` sides out to the page window's edge, so
// that a figure on the outer edge of what the job prints shows whole in the band. Prints
// nothing during a preview or after the printer refused the paper. Every step runs on when
// another fails: a page that has begun is always finished.
void PrintPage(App& app, double x, double y, OuterSides outer = {});

// The footnote's text: "打印比例1/" with the print scale to three decimals, "日期：" and the date.
std::string FootnoteText(float printScale, const std::string& date);
// Today's date in the short form the footnote shows (year-month-day).
std::string ShortDateToday();

}  // namespace movra
