#pragma once
// The table of tool families through which the canvas handlers dispatch on CommandMode.
//
// A family is the set of modes whose tools live in one file. For each mode it fills in the hooks
// it needs and leaves the others empty; the frame of the canvas handlers (ToolEngine) runs around them. Points
// are the event point in map units, as single-precision numbers.
//
// A new family plugs in by:
//   1. a file editing/<Family>Tools.cpp defining `const ToolFamily& <Family>ToolFamily()` with
//      one ToolModeHooks per mode it handles;
//   2. its declaration below and one line in the list of AllToolFamilies (ToolFamilies.cpp).
// A mode belongs to one family at most (the table refuses a second claim); a mode of no family
// gets the common frame only.
#include <cstdint>
#include <vector>

namespace movra {

struct App;

// What the frame does after a release branch.
enum class ReleaseEnd {
    CommonTail,  // the common tail and the end steps follow
    EndNow,      // the handler ends at once (degenerate figures, a too small zoom box)
};

// What one mode does at the canvas events. Empty hooks do nothing.
struct ToolModeHooks {
    std::uint8_t mode = 0;
    // Left press, after the frame has taken the press point and snapped it.
    void (*press)(App& app, double x, double y) = nullptr;
    // Right press, before the frame pauses or resumes the tool.
    void (*rightPress)(App& app, double x, double y) = nullptr;
    // Move with the left button held.
    void (*drag)(App& app, double x, double y) = nullptr;
    // Hover while ClickCount is above 0: the rubber preview. Without one the frame marks the
    // preview as shown.
    void (*rubber)(App& app, double x, double y) = nullptr;
    // Takes the rubber preview off the canvas (drawn at RubberPoint, RubberShown -1) when the tool
    // pauses or another tool is armed. The frame clears RubberShown afterwards. A mode with a
    // rubber preview and no eraser has the map drawn again instead.
    void (*erasePreview)(App& app) = nullptr;
    // The release draws the figure for good: the preview also goes at each left press, while its
    // points are still known. Tools whose rubber lines stay as the edges clicked so far keep them.
    bool pressErasesPreview = false;
    // Left release, after the frame has set ReleasePoint.
    ReleaseEnd (*release)(App& app, double x, double y) = nullptr;
    // Right release while this mode is the paused one (PreviousMode).
    void (*pausedRightRelease)(App& app) = nullptr;
    // A key without Ctrl while this mode is armed; true when the tool took the key, so that the
    // canvas's own action for it does not run.
    bool (*key)(App& app, int keyCode) = nullptr;
};

// The modes of one file.
struct ToolFamily {
    const char* name = "";
    std::vector<ToolModeHooks> modes;
};

// The hooks of the mode, or null when no family claims it.
const ToolModeHooks* HooksFor(std::uint8_t mode);

// The family that claims the mode, or null.
const ToolFamily* FamilyFor(std::uint8_t mode);

// Every family, in the order of the table.
const std::vector<const ToolFamily*>& AllToolFamilies();

// The families.
const ToolFamily& FrameToolFamily();   // ModeIdle
const ToolFamily& ViewToolFamily();    // pan, tilt, zoom, the floating view bar, the restored view
const ToolFamily& VertexToolFamily();  // vertex insertion
const ToolFamily& DrawingToolFamily();  // lines, freehand, rectangles, circles, print ranges, station pick
const ToolFamily& SelectionToolFamily();  // window selection and point pick, clip and save
const ToolFamily& TransformToolFamily();  // moving and rotating the selection
const ToolFamily& MeasureToolFamily();       // crossing of two lines, distance, angle
const ToolFamily& ConstructionToolFamily();  // typed length, perpendiculars, 3-point circles, ellipse, curve
const ToolFamily& MarkToolFamily();     // small circles, land-use marks, the ink-fill seed
const ToolFamily& CuttingToolFamily();  // cutting lines and areas, trimming stubs, keeping inside pieces
const ToolFamily& OffsetToolFamily();   // parallel copies, strips, parallel polylines, ring offsets
const ToolFamily& AnnotationToolFamily();  // article and material texts, elevation points
const ToolFamily& SymbolToolFamily();      // standard and self-made symbols, the colour marker
const ToolFamily& FillToolFamily();        // ring fills and fan strips, the four-point block
const ToolFamily& AttributeToolFamily();   // attribute records and fields, the area register, the viewer
const ToolFamily& ParcelToolFamily();      // boundary points and edges, parcel numbers
const ToolFamily& ImageToolFamily();    // placing, moving, stretching, cropping linked images, pricking

}  // namespace movra
