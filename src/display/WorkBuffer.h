#pragma once
#include <cstdint>

namespace movra {

struct App;
struct ClipBuffer;
struct MapRecord;

constexpr std::int32_t ClipBufferPlainLimit = 32700;
constexpr std::int32_t ClipBufferTiltedLimit = 32600;

// Fills the work buffer with the records around the view: a plain copy while TiltSin is 1 (only
// at DisplayZoom >= dxiao), else projected by the tilt.
void xzldk(App& app, float& dxiao);
// The one way both fillers add an item: raises ClipBufferCount by one and gives the new item,
// cleared. The caller tests the limit first.
MapRecord& ClipBufferAppendItem(ClipBuffer& buffer);
void AppendRecordToClipBuffer(App& app, std::uint8_t& layer, std::int16_t& slot);
void AppendTiltedRecord(App& app, std::uint8_t& layer, std::int16_t& slot);
// Clears the canvas and draws the buffer in the plan view / tilted above the blue ground line.
void DrawClipBuffer(App& app);
void Draw3DView(App& app);

}  // namespace movra
