#pragma once
#include <string>
#include <vector>

#include "platform/Surface.h"

namespace movra {

enum PrinterOrientationCode : int { OrientationPortrait = 1, OrientationLandscape = 2 };
enum PrinterColorModeCode : int { ColorModeMonochrome = 1, ColorModeColor = 2 };
// Print qualities as the printer settings name them: draft, low, medium, high.
enum PrintQualityCode : int { QualityDraft = -1, QualityLow = -2, QualityMedium = -3, QualityHigh = -4 };

// Paper sizes are reported in twips; the program reckons 56.7 twips to the paper millimetre.
constexpr double TwipsPerPaperMm = 56.7;

// The system's default printer. Settings take effect for the next page; pages are drawn through
// Page(), a Surface whose user scale (the page window) covers the paper less the page margins,
// and whose scale is kept in single precision, as the printer keeps it.
//
// One document at a time: drawing on Page() opens it (and its first page), NewPage closes the
// page being drawn (the next drawing opens another), EndDoc closes and sends the document and
// KillDoc discards it. Closing the document right after a new page adds no empty page.
class Printer {
public:
    virtual ~Printer() = default;

    // The installed printers, in the system's order; empty when there are none.
    virtual std::vector<std::string> PrinterNames() const = 0;
    // The name of the printer printed on: the system's default printer.
    virtual std::string DeviceName() const = 0;

    // Whether the printer follows the system's default printer (off while settings change).
    virtual void SetTrackDefault(bool track) = 0;
    virtual bool TrackDefault() const = 0;

    // 1 portrait, 2 landscape; another value raises 380.
    virtual void SetOrientation(int orientation) = 0;
    virtual int Orientation() const = 0;
    // The paper by its Windows paper code; a code the printer does not offer raises 380 and
    // leaves the paper as it was.
    virtual void SetPaperSize(int windowsCode) = 0;
    virtual int PaperSize() const = 0;
    // The paper in twips, whole numbers, in the current orientation.
    virtual int Width() const = 0;
    virtual int Height() const = 0;

    // 1 monochrome, 2 colour; another value raises 380.
    virtual void SetColorMode(int mode) = 0;
    virtual int ColorMode() const = 0;
    // A quality code (-1 to -4) or a resolution in dots per inch.
    virtual void SetPrintQuality(int quality) = 0;
    virtual int PrintQuality() const = 0;
    virtual void SetCopies(int copies) = 0;
    virtual int Copies() const = 0;

    // The paper left blank around the page window, in paper millimetres: `acrossMm` off the
    // width and `downMm` off the length, half on each side, so that the page window has the
    // paper's size less the margins and a user scale set to ground units prints at a true scale.
    virtual void SetPageMargins(double acrossMm, double downMm) = 0;

    // The surface of the page being drawn.
    virtual Surface& Page() = 0;
    virtual void NewPage() = 0;
    virtual void EndDoc() = 0;
    virtual void KillDoc() = 0;
    // Whether a document is open (something was drawn or a page closed since the last end).
    virtual bool DocumentOpen() const = 0;

    // A printer that writes each document to a file (the PDF printer) rather than to paper. The
    // file is written whole when the document ends; a document abandoned or failing leaves the
    // file that was there before as it was.
    virtual bool WritesFile() const { return false; }
    virtual void SetOutputFile(const std::string& /*path*/) {}
    virtual std::string OutputFile() const { return {}; }
};

}  // namespace movra
