#pragma once
#include <QPrinter>
#include <memory>
#include <string>
#include <vector>

#include "platform/Printer.h"

namespace movra {

class QtPrinterPage;

// The printer over QPrinter: the system's default printer, or, when the system has none (or
// the caller asks for it), a printer that writes each document as a PDF file. Paper codes are
// the Windows codes Qt knows (QPageSize::id); a size Qt has no id for, or that the printer does
// not offer, is refused. The page surface draws with vectors on the printer, the page window
// covering the paper less the page margins.
class QtPrinter : public Printer {
public:
    // The name the PDF printer is listed under.
    static constexpr const char* PdfPrinterName = "PDF 文件";

    // `pdfFile`: where the PDF printer writes. `systemPrinters` false uses the PDF printer even
    // where the system has printers (the tests do).
    QtPrinter(std::string pdfFile, bool systemPrinters = true);
    ~QtPrinter() override;
    QtPrinter(const QtPrinter&) = delete;
    QtPrinter& operator=(const QtPrinter&) = delete;

    std::vector<std::string> PrinterNames() const override;
    std::string DeviceName() const override;
    void SetTrackDefault(bool track) override { track_ = track; }
    bool TrackDefault() const override { return track_; }
    void SetOrientation(int orientation) override;
    int Orientation() const override;
    void SetPaperSize(int windowsCode) override;
    int PaperSize() const override { return paperCode_; }
    int Width() const override;
    int Height() const override;
    void SetColorMode(int mode) override;
    int ColorMode() const override;
    void SetPrintQuality(int quality) override;
    int PrintQuality() const override { return quality_; }
    void SetCopies(int copies) override;
    int Copies() const override;
    void SetPageMargins(double acrossMm, double downMm) override;
    Surface& Page() override;
    void NewPage() override;
    void EndDoc() override;
    void KillDoc() override;

    // Where the PDF printer writes; empty for a system printer.
    std::string PdfFile() const;
    // The page surface's hook: a drawing operation is about to paint.
    void OpenPage();

private:
    void ApplyMargins();
    bool UsesPdf() const { return pdf_; }

    std::string pdfFile_;
    bool pdf_ = true;
    std::string deviceName_;
    std::unique_ptr<QPrinter> printer_;
    std::unique_ptr<QtPrinterPage> page_;
    bool track_ = true;
    int paperCode_ = 9;
    int quality_ = QualityMedium;
    double marginAcrossMm_ = 0, marginDownMm_ = 0;
    bool documentOpen_ = false;
    bool pageOpen_ = false;
};

}  // namespace movra
