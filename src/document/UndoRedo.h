#pragma once
#include <cstdint>

namespace movra {

struct App;

// Takes back the newest group of journal steps in effect and brings back the canvas view recorded
// with it; enables the redo button, disables the undo button when nothing is left to undo. Does
// not redraw. A failure shows a message box.
void Undo(App& app);

// Applies again the oldest group taken back; enables the undo button, disables the redo button
// when nothing is left to redo. Does not redraw. A failure shows a message box.
void Redo(App& app);

// Removes every record of layers 1..LayerCount whose RecordSource is tag, the records above
// moving down. The journal follows the moved slots. A failure shows a message box. Answers how
// many records were removed.
int DeleteBySourceTag(App& app, std::uint8_t tag);

}  // namespace movra
