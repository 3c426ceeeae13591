#include "editing/ToolFamilies.h"

#include <array>
#include <stdexcept>
#include <string>

namespace movra {

const std::vector<const ToolFamily*>& AllToolFamilies() {
    static const std::vector<const ToolFamily*> families = {
        &FrameToolFamily(),
        &ViewToolFamily(),
        &VertexToolFamily(),
        &DrawingToolFamily(),
        &SelectionToolFamily(),
        &TransformToolFamily(),
        &MeasureToolFamily(),
        &ConstructionToolFamily(),
        &MarkToolFamily(),
        &CuttingToolFamily(),
        &OffsetToolFamily(),
        &AnnotationToolFamily(), &SymbolToolFamily(), &FillToolFamily(), &AttributeToolFamily(), &ParcelToolFamily(),
        &ImageToolFamily(),
    };
    return families;
}

namespace {

struct DispatchEntry {
    const ToolFamily* family = nullptr;
    const ToolModeHooks* hooks = nullptr;
};
using DispatchTable = std::array<DispatchEntry, 256>;

DispatchTable BuildTable() {
    DispatchTable table{};
    for (const ToolFamily* family : AllToolFamilies()) {
        for (const ToolModeHooks& hooks : family->modes) {
            DispatchEntry& entry = table[hooks.mode];
            // Two claims of one mode are a fault of the program, found by the first event.
            if (entry.hooks)
                throw std::logic_error("mode " + std::to_string(hooks.mode) + " claimed by " + entry.family->name +
                                       " and " + family->name);
            entry = {family, &hooks};
        }
    }
    return table;
}

const DispatchTable& Table() {
    static const DispatchTable table = BuildTable();
    return table;
}

}  // namespace

const ToolModeHooks* HooksFor(std::uint8_t mode) { return Table()[mode].hooks; }

const ToolFamily* FamilyFor(std::uint8_t mode) { return Table()[mode].family; }

}  // namespace movra
