#pragma once
#include <string>

namespace movra {

struct App;

// Starts an empty map: layers "层0" and "层1", slots 0..5000, layer 1 current, no false origin and
// empty drawing extents, the main window's canvas, selectors and caption reset. An error is written into Text2.
void NewDocument(App& app);

// Empties the 33 picture holders of the image records.
void ClearImageSlots(App& app);

// Dimensions the store, emptied, for LayerCount layers and LayerCapacity slots; the file readers
// then append their records.
void 新建层(App& app);

// Lists the layers 1..LayerCount in the layer selector again (a map put back after a failed read).
void RestoreLayerSelector(App& app);

// Makes the layer definitions up to NextLayerIndex - 1 layers of the store, keeping every record;
// empties the work buffer. Ends quietly on an error.
void AddLayer(App& app);

// As AddLayer, rebuilt in memory, leaving the work buffer as it is (the DXF import relies on
// this). Ends quietly on an error.
void 硬盘建层(App& app);

// Splits the current layer: its records from slot 10000 on (at a record boundary) move into a new
// layer named after it with "j". Ends quietly on an error.
void 自动加层(App& app);

// The message when no further layer number is left.
inline constexpr const char* LayersFullMessage = "层已满";

// The document name of a new map: "newfilse_" followed by the current date and time.
std::string NewDocumentName();

}  // namespace movra
