#pragma once
// The shared state of one run of the program: the platform services and the plain data structs
// of every subsystem. Procedures are free functions taking App& first. Nothing here is global;
// a test makes a fresh App over the fake platform.

#include <memory>

#include "basic/Files.h"
#include "document/AfterMapRead.h"
#include "document/ColorFontTables.h"
#include "document/CoordinateReductionState.h"
#include "document/ExportSeams.h"
#include "document/ImportSeams.h"
#include "document/RecordStore.h"
#include "document/RedrawSeams.h"
#include "document/ScratchXY.h"
#include "document/TextPlacementState.h"
#include "document/TerrainNodes.h"
#include "document/UndoJournal.h"
#include "document/WorkSettings.h"
#include "display/DisplayState.h"
#include "editing/CopyBuffer.h"
#include "editing/LinkedImageState.h"
#include "editing/Selection.h"
#include "editing/ToolState.h"
#include "geomops/ClipBuffer.h"
#include "geomops/GeomopsSeams.h"
#include "platform/Platform.h"
#include "printing/PrintState.h"
#include "sheets/SheetCutState.h"
#include "sheets/SheetState.h"
#include "shell/CurrentAttributes.h"
#include "shell/ShellSettings.h"
#include "shell/ViewState.h"
#include "survey/Station.h"
#include "symbols/AttributeState.h"
#include "symbols/SelfMadeLibrary.h"
#include "symbols/SymbolStandard.h"

namespace movra {

class stForm1;
class csForm2;
class hlep_frm;
class dayinfrm;
class cezhanfrm;
class sbclF3;
class shuxfrm;
class zjForm4;
class chaxunfrm;
class wbxxFrm;
class Tyhdfrm;
class GPSdaohang;
class xpdxFrm;
class gzfenfufrm;

struct App {
    // A run never ends at a file-size limit: a write past it fails, and the save fails as on a
    // full disk, keeping the old file and telling the user.
    explicit App(Platform& platformServices) : platform(platformServices) { IgnoreFileSizeSignal(); }
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    Platform& platform;
    // The main window, made by the shell; procedures reach its controls through it.
    stForm1* form1 = nullptr;

    // Subsystem state follows, one member per struct, each defined in its subsystem's folder.
    RecordStore store;
    TerrainNodeLinks nodes;
    ColorFontTables tables;
    ViewState view;
    CurrentAttributes current;
    Selection selection;
    ClipBuffer clip;
    StationSetup station;
    GeometryScratch geometry;
    TextPlacementState textPlacement;
    CoordinateReductionState reduction;
    DrawingExtents extents;
    CopyBuffer copyBuffer;
    MapFileState mapFile;
    SymbolStandard symbolStandard;
    DisplayState display;
    UndoJournal undo;
    ToolState tool;
    // The linked image the image tools picked last, and the photo corners pricked on it.
    LinkedImageState linkedImages;
    WorkSettings work;
    // The layer manager, made on first opening; it keeps its shown layer between openings.
    std::shared_ptr<csForm2> form2;
    // The help viewer, made when first shown and again after it was closed.
    std::shared_ptr<hlep_frm> helpViewer;
    ShellSettings settings;
    SelfMadeLibrary selfMade;
    // The map's ways up to the display, set with the main window.
    RedrawSeams seams;
    // The save-as-DXF command's way to the exporters, set with the main window.
    ExportSeams exportSeams;
    // The DXF open commands' way to the importer, set with the main window.
    ImportSeams importSeams;
    // The canvas tools' way to the cutting operations and the ink fill.
    GeomopsSeams geomopsSeams;
    SheetCutState sheetCut;
    // The print settings of the run, the print dialog's variables, and the dialog, made on
    // first use.
    PrintOptions printOptions;
    PrintDialogState printState;
    std::shared_ptr<dayinfrm> printDialog;
    // The sheet frame template and the folder of the sheet files.
    SheetState sheets;
    // The total-station capture of the run, the station dialog and the capture window (made on
    // first use and kept, so that a pick or a port event never outlives its window).
    SurveyCapture survey;
    std::shared_ptr<cezhanfrm> stationDialog;
    std::shared_ptr<sbclF3> captureWindow;
    // The attribute records' state, the attribute dialog (kept loaded while hidden between
    // placements) and the article annotation dialog, each made on first use.
    AttributeState attributes;
    std::shared_ptr<shuxfrm> attributeDialog;
    std::shared_ptr<zjForm4> annotationDialog;
    // The query dialog, modeless and kept between openings.
    std::shared_ptr<chaxunfrm> queryDialog;
    // The clipboard link's start and format dialog.
    std::shared_ptr<wbxxFrm> linkDialog;
    // The projection and zone-change calculator, the GPS navigation window and the photo
    // orientation window, each made on first use.
    std::shared_ptr<Tyhdfrm> projectionDialog;
    std::shared_ptr<GPSdaohang> gpsWindow;
    std::shared_ptr<xpdxFrm> photoDialog;
    // The sheet division window while it is shown without waiting (from the settings window).
    std::shared_ptr<gzfenfufrm> sheetDivisionWindow;
};

}  // namespace movra
