#include "platform/qt/QtPrinter.h"

#include <QFile>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinterInfo>
#include <algorithm>
#include <cmath>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <string>
#include <unistd.h>

#include "basic/Errors.h"
#include "basic/Files.h"
#include "platform/qt/QtSurface.h"

namespace movra {

namespace {

// The PDF printer draws at the resolution of a common office printer, so that widths given in
// printer dots look as they would on paper.
constexpr int PdfDotsPerInch = 600;

QString FromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Twips of the page as the device has it: Qt lays the page out in whole points.
int ToTwips(double points) { return static_cast<int>(std::lround(points * 20)); }

// The paper of a Windows code. Qt knows every code of the paper table but Folio (8.5 by 13
// inches), and the two reserved codes, which stay refused.
QPageSize PageSizeOfCode(int windowsCode) {
    constexpr int WindowsFolio = 14;
    if (windowsCode == WindowsFolio) return QPageSize(QSizeF(8.5, 13), QPageSize::Inch, QStringLiteral("Folio"));
    return QPageSize(QPageSize::id(windowsCode));
}

// A failure of the file being written, told with the file's name.
RuntimeError NamingFile(const RuntimeError& error, const std::string& path) {
    return RuntimeError(error.number, error.description + "：" + path);
}

// Qt's PDF engine goes on when a write fails (a full disk) and ends without an error, leaving a
// file cut short. A whole PDF ends with "startxref", the offset of its cross-reference table, and
// "%%EOF", and the table stands at that offset.
bool PdfIsWhole(const std::string& path) {
    QFile file(FromUtf8(path));
    if (!file.open(QIODevice::ReadOnly)) return false;
    constexpr qint64 TailBytes = 64;
    const qint64 size = file.size();
    if (!file.seek(std::max<qint64>(0, size - TailBytes))) return false;
    const QByteArray tail = file.read(TailBytes);
    const qsizetype end = tail.lastIndexOf("%%EOF");
    const qsizetype start = tail.lastIndexOf("startxref");
    if (end < 0 || start < 0 || start > end || !tail.mid(end + 5).trimmed().isEmpty()) return false;
    bool isNumber = false;
    const qint64 offset = tail.mid(start + 9, end - start - 9).trimmed().toLongLong(&isNumber);
    if (!isNumber || offset < 0 || offset >= size || !file.seek(offset)) return false;
    // A cross-reference table, or the object of a cross-reference stream.
    const QByteArray table = file.read(4);
    return table == "xref" || (!table.isEmpty() && table[0] >= '1' && table[0] <= '9');
}

// Why Qt's engine left the file cut short, which it does not say: more written at the file's end
// meets what stopped it, a full disk or the file-size limit. 75 when more can be written.
RuntimeError WhyCutShort(const std::string& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
    if (fd < 0) return RuntimeError(ErrPathFileAccess);
    // More than a block of the disk, which a disk that is full cannot take.
    const std::string probe(1 << 16, '\0');
    size_t written = 0;
    int error = 0;
    while (written < probe.size()) {
        const ssize_t n = ::write(fd, probe.data() + written, probe.size() - written);
        if (n > 0) {
            written += static_cast<size_t>(n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            error = n < 0 ? errno : EIO;
            break;
        }
    }
    if (error == 0 && ::fsync(fd) != 0) error = errno;
    ::close(fd);
    if (error == 0) return RuntimeError(ErrPathFileAccess);
    try {
        RaiseFileError(error);
    } catch (const RuntimeError& told) {
        return told;
    }
}

}  // namespace

// The page: the canvas drawing model over the printer. What reads pixels back has no meaning on
// paper and does nothing.
class QtPrinterPage : public QtSurface {
public:
    explicit QtPrinterPage(QtPrinter& owner) : QtSurface(1, 1), owner_(owner) {
        SetFont(FontName(), FontSize());
    }
    ~QtPrinterPage() override { EndPainting(); }

    int PixelWidth() const override { return width_; }
    int PixelHeight() const override { return height_; }
    // The page window in device pixels: its size, and its offset from the paper's corner.
    void SetWindow(int width, int height, double offsetX, double offsetY) {
        width_ = std::max(1, width);
        height_ = std::max(1, height);
        deviceOrigin_ = QTransform::fromTranslate(offsetX, offsetY);
    }
    void Resize(int, int) override {}
    // The printer keeps the size of its window in single precision. Its corner stays in double
    // precision: every position on the page is taken relative to it before anything narrows,
    // so a map at survey coordinates (3,500,000 m, where a single-precision number steps by
    // 0.25 m) prints as true as one near the origin.
    void SetScale(double left, double top, double width, double height) override {
        QtSurface::SetScale(left, top, static_cast<float>(width), static_cast<float>(height));
    }
    void SetBackColor(Rgb) override {}
    Rgb Point(double, double) const override { return -1; }
    void Cls() override {}
    void FloodFill(int, int, Rgb, int) override {}
    Picture Snapshot() const override { return {}; }
    void Refresh() override {}

    // Draws nothing, but opens the document the way drawing would.
    void Open() { Painter(); }
    void Close() { EndPainting(); }

protected:
    QPaintDevice* Device() override { return &owner_.Device(); }
    void BeforePainting() override { owner_.OpenPage(); }
    void PainterRefused() override {
        EndPainting();
        owner_.DeviceRefused();
    }
    double PixelsPerPoint() const override { return owner_.Device().resolution() / 72.0; }

private:
    QtPrinter& owner_;
    int width_ = 1, height_ = 1;
};

QtPrinter::QtPrinter(std::string pdfFile, bool systemPrinters) : pdfFile_(std::move(pdfFile)) {
    QString systemDefault = systemPrinters ? QPrinterInfo::defaultPrinterName() : QString();
    pdf_ = systemDefault.isEmpty();
    if (pdf_) {
        printer_ = MakePdfDevice();
        deviceName_ = PdfPrinterName;
    } else {
        printer_ = std::make_unique<QPrinter>(QPrinterInfo::printerInfo(systemDefault), QPrinter::HighResolution);
        deviceName_ = systemDefault.toStdString();
    }
    // The device's pixels cover the whole paper; the page window is placed on it here, so that
    // its size is exactly the paper less the margins (a printer would round them to points).
    printer_->setFullPage(true);
    printer_->setPageSize(QPageSize(QPageSize::A4));
    printer_->setPageOrientation(QPageLayout::Portrait);
    page_ = std::make_unique<QtPrinterPage>(*this);
    ApplyMargins();
}

QtPrinter::~QtPrinter() {
    // A document left open is sent, as closing the program sends it; one that cannot be written
    // leaves nothing behind.
    try {
        EndDoc();
    } catch (...) {
        DropDocument();
    }
    page_.reset();
}

std::vector<std::string> QtPrinter::PrinterNames() const {
    std::vector<std::string> names;
    if (!pdf_) {
        for (const QString& name : QPrinterInfo::availablePrinterNames()) names.push_back(name.toStdString());
    } else {
        names.push_back(PdfPrinterName);
    }
    return names;
}

std::string QtPrinter::DeviceName() const { return deviceName_; }

void QtPrinter::SetOrientation(int orientation) {
    if (orientation != OrientationPortrait && orientation != OrientationLandscape) Raise(ErrInvalidPropertyValue);
    const auto wanted = orientation == OrientationLandscape ? QPageLayout::Landscape : QPageLayout::Portrait;
    if (printer_->pageLayout().orientation() == wanted) return;
    if (!printer_->setPageOrientation(wanted)) Raise(ErrInvalidPropertyValue);
    ApplyMargins();
}

int QtPrinter::Orientation() const {
    return printer_->pageLayout().orientation() == QPageLayout::Landscape ? OrientationLandscape
                                                                          : OrientationPortrait;
}

void QtPrinter::SetPaperSize(int windowsCode) {
    const QPageSize size = PageSizeOfCode(windowsCode);
    if (!size.isValid()) Raise(ErrInvalidPropertyValue);
    if (!pdf_) {
        // A system printer offers only its own sizes.
        bool offered = false;
        for (const QPageSize& s : QPrinterInfo::printerInfo(FromUtf8(deviceName_)).supportedPageSizes())
            offered = offered || s.isEquivalentTo(size);
        if (!offered) Raise(ErrInvalidPropertyValue);
    }
    if (!printer_->setPageSize(size)) Raise(ErrInvalidPropertyValue);
    paperCode_ = windowsCode;
    ApplyMargins();
}

int QtPrinter::Width() const { return ToTwips(printer_->pageLayout().fullRect(QPageLayout::Point).width()); }
int QtPrinter::Height() const { return ToTwips(printer_->pageLayout().fullRect(QPageLayout::Point).height()); }

void QtPrinter::SetColorMode(int mode) {
    if (mode != ColorModeMonochrome && mode != ColorModeColor) Raise(ErrInvalidPropertyValue);
    printer_->setColorMode(mode == ColorModeColor ? QPrinter::Color : QPrinter::GrayScale);
}

int QtPrinter::ColorMode() const {
    return printer_->colorMode() == QPrinter::Color ? ColorModeColor : ColorModeMonochrome;
}

void QtPrinter::SetPrintQuality(int quality) {
    // Qt prints at the device's resolution; the code is kept for whoever asks.
    if (quality < QualityHigh || quality == 0) Raise(ErrInvalidPropertyValue);
    quality_ = quality;
}

void QtPrinter::SetCopies(int copies) {
    if (copies < 1) Raise(ErrInvalidPropertyValue);
    printer_->setCopyCount(copies);
}

int QtPrinter::Copies() const { return printer_->copyCount(); }

void QtPrinter::SetPageMargins(double acrossMm, double downMm) {
    if (!std::isfinite(acrossMm) || !std::isfinite(downMm) || acrossMm < 0 || downMm < 0)
        Raise(ErrInvalidPropertyValue);
    marginAcrossMm_ = acrossMm;
    marginDownMm_ = downMm;
    ApplyMargins();
}

void QtPrinter::ApplyMargins() {
    // Margins wider than the paper would leave no page window: they are kept within it.
    const double pixelsPerMm = printer_->resolution() / 25.4;
    const double paperWidth = printer_->width(), paperHeight = printer_->height();
    const double across = std::clamp(marginAcrossMm_ * pixelsPerMm, 0.0, paperWidth - 1);
    const double down = std::clamp(marginDownMm_ * pixelsPerMm, 0.0, paperHeight - 1);
    page_->SetWindow(static_cast<int>(std::lround(paperWidth - across)), static_cast<int>(std::lround(paperHeight - down)),
                     across / 2, down / 2);
}

Surface& QtPrinter::Page() { return *page_; }

void QtPrinter::OpenPage() {
    if (failure_) throw *failure_;  // no painter is tried again: one failure, told once
    if (!documentOpen_) {
        // The painter about to be made opens the document and its first page. The PDF goes to a
        // temporary file beside the one asked for, put in its place when the document ends, so
        // that a failed or abandoned job leaves the earlier file as it was.
        if (pdf_) {
            try {
                pdfWriter_ = std::make_unique<AtomicFileWriter>(pdfFile_);
            } catch (const RuntimeError& error) {
                failure_ = NamingFile(error, pdfFile_);
                throw *failure_;
            }
            printer_->setOutputFileName(FromUtf8(pdfWriter_->TemporaryPath()));
        }
        documentOpen_ = true;
        pageOpen_ = true;
        return;
    }
    if (!pageOpen_) {
        printer_->newPage();
        pageOpen_ = true;
    }
}

void QtPrinter::DeviceRefused() {
    failure_ = RuntimeError(ErrPathFileAccess, ErrorDescription(ErrPathFileAccess) + "：" +
                                                   (pdf_ ? pdfFile_ : deviceName_));
    throw *failure_;
}

void QtPrinter::NewPage() {
    if (failure_) throw *failure_;
    if (!documentOpen_) page_->Open();  // a new page before any drawing leaves a blank page
    else if (!pageOpen_) printer_->newPage();
    pageOpen_ = false;
}

void QtPrinter::EndDoc() {
    if (!documentOpen_) return;
    page_->Close();
    documentOpen_ = false;
    pageOpen_ = false;
    if (failure_ || printer_->printerState() == QPrinter::Error) {
        const RuntimeError error = failure_              ? *failure_
                                   : pdf_ && pdfWriter_ ? NamingFile(WhyCutShort(pdfWriter_->TemporaryPath()), pdfFile_)
                                                        : RuntimeError(ErrPathFileAccess);
        DropDocument();
        throw error;
    }
    if (!pdf_) return;
    if (!PdfIsWhole(pdfWriter_->TemporaryPath())) {
        const RuntimeError why = WhyCutShort(pdfWriter_->TemporaryPath());
        DropDocument();
        throw NamingFile(why, pdfFile_);
    }
    try {
        pdfWriter_->Commit();  // synced, then renamed over the earlier file in one step
    } catch (const RuntimeError& error) {
        DropDocument();
        throw NamingFile(error, pdfFile_);
    }
    pdfWriter_.reset();
}

void QtPrinter::KillDoc() {
    if (!documentOpen_ && !failure_) return;
    if (documentOpen_) printer_->abort();
    DropDocument();
}

void QtPrinter::DropDocument() {
    page_->Close();
    documentOpen_ = false;
    pageOpen_ = false;
    failure_.reset();
    if (!pdf_) return;
    pdfWriter_.reset();  // removes the temporary file
    // Once a write of Qt's PDF engine failed, it writes nothing into any later document either:
    // the next document is drawn on a fresh device with the same settings.
    std::unique_ptr<QPrinter> fresh = MakePdfDevice();
    fresh->setPageLayout(printer_->pageLayout());
    fresh->setColorMode(printer_->colorMode());
    fresh->setCopyCount(printer_->copyCount());
    printer_ = std::move(fresh);
}

std::unique_ptr<QPrinter> QtPrinter::MakePdfDevice() {
    auto device = std::make_unique<QPrinter>(QPrinter::HighResolution);
    device->setOutputFormat(QPrinter::PdfFormat);
    device->setResolution(PdfDotsPerInch);
    device->setFullPage(true);
    return device;
}

void QtPrinter::SetOutputFile(const std::string& path) {
    // The document being drawn keeps the file it was started for.
    if (pdf_ && !documentOpen_) pdfFile_ = path;
}

std::string QtPrinter::OutputFile() const { return pdf_ ? pdfFile_ : std::string(); }

}  // namespace movra
