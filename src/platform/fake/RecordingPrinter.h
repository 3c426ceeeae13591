#pragma once
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/Printer.h"
#include "platform/fake/RecordingSurface.h"

namespace movra {

// The page surface of the recording printer: a recording surface that keeps the size of its
// window in single precision, as the printer does, and its corner in double precision.
class RecordingPrinterPage : public RecordingSurface {
public:
    using RecordingSurface::RecordingSurface;
    void SetScale(double left, double top, double width, double height) override {
        RecordingSurface::SetScale(left, top, static_cast<float>(width), static_cast<float>(height));
    }
};

// One page as it was closed: what was drawn on it and the state calls made while it was open.
struct RecordedPage {
    std::vector<SurfacePrimitive> primitives;
    std::vector<SurfaceStateCall> stateCalls;
};

// A printer for tests: a scripted list of printers, a table of the paper sizes it offers (others
// are refused with 380), and a log of every setting and document call ("PaperSize 9",
// "Orientation 2", "NewPage", "EndDoc", ...). Pages are recorded surfaces.
class RecordingPrinter : public Printer {
public:
    RecordingPrinter();

    std::vector<std::string> PrinterNames() const override { return printers; }
    std::string DeviceName() const override { return defaultPrinter; }
    void SetTrackDefault(bool track) override;
    bool TrackDefault() const override { return track_; }
    void SetOrientation(int orientation) override;
    int Orientation() const override { return orientation_; }
    void SetPaperSize(int windowsCode) override;
    int PaperSize() const override { return paperCode_; }
    int Width() const override;
    int Height() const override;
    void SetColorMode(int mode) override;
    int ColorMode() const override { return colorMode_; }
    void SetPrintQuality(int quality) override;
    int PrintQuality() const override { return quality_; }
    void SetCopies(int copies) override;
    int Copies() const override { return copies_; }
    void SetPageMargins(double acrossMm, double downMm) override;
    Surface& Page() override { return page; }
    void NewPage() override;
    void EndDoc() override;
    void KillDoc() override;
    bool DocumentOpen() const override { return documentOpen_ || !page.primitives.empty(); }
    bool WritesFile() const override { return writesFile; }
    void SetOutputFile(const std::string& path) override;
    std::string OutputFile() const override { return writesFile ? outputFile : std::string(); }

    // Script.
    // True: the printer stands for one that writes a file (outputFile), as the PDF printer does.
    bool writesFile = false;
    std::string outputFile;
    std::vector<std::string> printers{"LJ"};
    std::string defaultPrinter = "LJ";
    // Offered papers: Windows code to portrait width and height in twips.
    std::map<int, std::pair<int, int>> papers;
    // The next call of the named setting ("PaperSize", "Orientation", ...) raises this error.
    std::map<std::string, int> failNext;

    // What happened.
    std::vector<std::string> log;
    RecordingPrinterPage page{4961, 7016};
    // Pages closed by NewPage in the current or last document.
    std::vector<RecordedPage> pages;
    int documentsEnded = 0;
    int documentsKilled = 0;
    double marginAcrossMm = 0, marginDownMm = 0;
    // The log entries that start with `prefix`.
    std::vector<std::string> LogOf(const std::string& prefix) const;

private:
    void Record(const std::string& entry);
    void MaybeFail(const std::string& setting);
    void SizePage();
    bool track_ = true;
    bool documentOpen_ = false;
    int orientation_ = OrientationPortrait;
    int paperCode_ = 9;
    int colorMode_ = ColorModeColor;
    int quality_ = QualityMedium;
    int copies_ = 1;
};

}  // namespace movra
