#pragma once
// Copy and paste through the copy buffer: the selected records into the buffer, and the buffer
// (a copy of this run or a block file just read) back into the store as the new selection.
#include <cstdint>

namespace movra {

struct App;

// The message behind the layer number when a paste fills a layer.
inline constexpr const char* PasteLayerFullMessage = "层容量满，请换(加)层,粘贴请撤消";
// A paste stops when its target layer holds more records than these.
constexpr std::int32_t BlockPasteLimit = 32000;
constexpr std::int32_t CopyPasteLimit = 31100;

// Copies the selected records into the copy buffer (nothing happens while nothing is selected).
void CopySelection(App& app);
// Writes the copied records as new records, each to its own layer where it is on and exists, or
// to CurrentLayer (always so with toCurrent -1). The buffer stays for a further paste.
void PasteCopyBuffer(App& app, std::int16_t toCurrent);
// The same for a buffer read from a block file (layer 0 goes to CurrentLayer too); the buffer is
// emptied.
void PasteBlockBuffer(App& app, std::int16_t toCurrent);

// Ctrl+C and the copy and cut buttons: the selection into the copy buffer, which a paste then
// takes (CopyBufferFlag -1), and the paste button enabled.
void CopyForPaste(App& app);
// The temporary block file (left by an earlier map or run) pasted as the new selection, with an
// undo step.
void PasteTemporaryBlock(App& app, std::int16_t toCurrent);

// The canvas's Ctrl keys: C copies the selection, V pastes the copy (or the temporary block file
// left by an earlier map or run) and arms the move tool. True when the key was one of them.
bool CopyPasteKey(App& app, int keyCode);

}  // namespace movra
