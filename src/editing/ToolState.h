#pragma once
#include <cstdint>
#include <string>

namespace movra {

// The tool modes (`ToolMode`) that the journal and the transforms of the selection set or test.
enum ToolMode : std::uint8_t {
    ModePan = 0,
    ModeTiltView = 8,
    ModeZoomIn = 35,
    ModeMoveSelection = 45,
    ModeRotateSelection = 46,
    ModeClipSave = 106,
    ModeFlipUpDown = 107,     // method panel: "已选目标上下翻转"
    ModeFlipLeftRight = 108,  // method panel: "已选目标左右翻转"
    ModeInsertVertex = 115,
    ModeMoveVertex = 118,
    ModeCutLinesAndAreas = 121,
    ModePrintRange = 188,
    ModeJournalHold = 252,    // the journal records no checkpoint while it is armed
    ModeIdle = 255,
};

// The armed canvas tool and the parameters the transforms of the selection share with the tools
// and with undo and redo.
struct ToolState {
    std::uint8_t CommandMode = ModeZoomIn;
    std::uint8_t PreviousMode = ModeZoomIn;
    // Pivot of a rotation, reference of a move, point of a mirror axis handed in by undo and redo.
    double AnchorX = 0;
    double AnchorY = 0;
    // The first direction point of a rotation.
    double StepParamA = 0;
    double StepParamB = 0;
    // -1 while a transform preview is on the canvas.
    std::int16_t RubberShown = 0;
    // -1 while a self-made symbol is being drawn: undo and redo then do nothing.
    std::int16_t SymbolMakingMode = 0;
    // The symbol, line-type or special-line code of the armed tool.
    std::string CommandArgument;
};

}  // namespace movra
