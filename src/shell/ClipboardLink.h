#pragma once
// The clipboard point link: while it runs, the main window's Timer1 polls the clipboard; texts
// ended by the record separator are collected until the clipboard stays unchanged for one poll,
// then cut into records, and every point record becomes an elevation point (type 46) of the
// current layer with the view following it. A record "GS:layout" switches the column layout.
#include <string>

namespace movra {

struct App;

// One poll: the timer is off while it runs and on again after, whatever failed. The lamp Label6
// turns red, then blue once a text was handed on.
void Timer1_Timer(App& app);

// The stability check: an unchanged text releases the buffer; a new text ended by the record
// separator joins it.
void ReceiveLinkText(App& app, const std::string& text);

// Whether a stored point is drawn at once, or once for a whole batch after its last point.
enum class LinkRedraw { Now, Deferred };

// Cuts the buffer into records at the record separator and parses each in order, the view
// following every point stored; the map is then drawn once, with the last point standing out.
void SplitLinkRecords(App& app);

// One record: a layout switch ("GS:" at its very start, any letter case) or a point record of 3
// to 8 fields under ClipboardLinkFormat. A point whose coordinates are not numbers is skipped; a
// stored one is kept in view. The name field is stored as it stands, untrimmed. True when a
// point was stored.
bool ParsePointRecord(App& app, const std::string& record, LinkRedraw redraw = LinkRedraw::Now);

// Moves the view so that the last point of the current layer lies in it (a point beyond an edge
// ends a quarter of the view inside that edge); drawn now, it redraws the map and draws that
// point again in the current colour plus one.
void KeepPointInView(App& app, LinkRedraw redraw = LinkRedraw::Now);

}  // namespace movra
