#pragma once
#include <QPrinter>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "basic/Errors.h"
#include "platform/Printer.h"

namespace movra {

class AtomicFileWriter;
class QtPrinterPage;

// The printer over QPrinter: the system's default printer, or, when the system has none (or
// the caller asks for it), a printer that writes each document as a PDF file, whole or not at
// all. Paper codes are
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
    bool DocumentOpen() const override { return documentOpen_; }
    bool WritesFile() const override { return pdf_; }
    void SetOutputFile(const std::string& path) override;
    std::string OutputFile() const override;

    // The page surface's hooks: a drawing operation is about to paint; the device refused the
    // painter (the file cannot be written), which fails the document.
    void OpenPage();
    void DeviceRefused();
    // The device the page draws on.
    QPrinter& Device() const { return *printer_; }

private:
    void ApplyMargins();
    static std::unique_ptr<QPrinter> MakePdfDevice();
    void DropDocument();

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
    // Why the open document cannot be written; every later drawing and page call raises it.
    std::optional<RuntimeError> failure_;
    // The PDF document being written: drawn into its temporary file, which replaces the file
    // asked for once it is whole.
    std::unique_ptr<AtomicFileWriter> pdfWriter_;
};

}  // namespace movra
