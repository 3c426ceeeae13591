#include "platform/fake/RecordingPrinter.h"

#include <cmath>

#include "basic/Errors.h"

namespace movra {

namespace {
constexpr double FakeDotsPerMm = 600 / 25.4;
}

RecordingPrinter::RecordingPrinter() {
    papers = {
        {9, {11906, 16838}},   // A4
        {8, {16838, 23811}},   // A3
        {11, {8391, 11906}},   // A5
        {1, {12240, 15840}},   // Letter
        {66, {23811, 33676}},  // A2
    };
    SizePage();
}

void RecordingPrinter::Record(const std::string& entry) { log.push_back(entry); }

void RecordingPrinter::MaybeFail(const std::string& setting) {
    auto it = failNext.find(setting);
    if (it == failNext.end()) return;
    const int number = it->second;
    failNext.erase(it);
    Raise(number);
}

void RecordingPrinter::SetTrackDefault(bool track) {
    MaybeFail("TrackDefault");
    track_ = track;
    Record(std::string("TrackDefault ") + (track ? "1" : "0"));
}

void RecordingPrinter::SetOrientation(int orientation) {
    MaybeFail("Orientation");
    if (orientation != OrientationPortrait && orientation != OrientationLandscape) Raise(ErrInvalidPropertyValue);
    orientation_ = orientation;
    Record("Orientation " + std::to_string(orientation));
    SizePage();
}

void RecordingPrinter::SetPaperSize(int windowsCode) {
    MaybeFail("PaperSize");
    if (!papers.count(windowsCode)) Raise(ErrInvalidPropertyValue);
    paperCode_ = windowsCode;
    Record("PaperSize " + std::to_string(windowsCode));
    SizePage();
}

int RecordingPrinter::Width() const {
    auto it = papers.find(paperCode_);
    if (it == papers.end()) return 0;
    return orientation_ == OrientationLandscape ? it->second.second : it->second.first;
}

int RecordingPrinter::Height() const {
    auto it = papers.find(paperCode_);
    if (it == papers.end()) return 0;
    return orientation_ == OrientationLandscape ? it->second.first : it->second.second;
}

void RecordingPrinter::SetColorMode(int mode) {
    MaybeFail("ColorMode");
    if (mode != ColorModeMonochrome && mode != ColorModeColor) Raise(ErrInvalidPropertyValue);
    colorMode_ = mode;
    Record("ColorMode " + std::to_string(mode));
}

void RecordingPrinter::SetPrintQuality(int quality) {
    MaybeFail("PrintQuality");
    if (quality < QualityHigh || quality == 0) Raise(ErrInvalidPropertyValue);
    quality_ = quality;
    Record("PrintQuality " + std::to_string(quality));
}

void RecordingPrinter::SetCopies(int copies) {
    MaybeFail("Copies");
    if (copies < 1) Raise(ErrInvalidPropertyValue);
    copies_ = copies;
    Record("Copies " + std::to_string(copies));
}

void RecordingPrinter::SetPageMargins(double acrossMm, double downMm) {
    MaybeFail("PageMargins");
    if (!std::isfinite(acrossMm) || !std::isfinite(downMm) || acrossMm < 0 || downMm < 0)
        Raise(ErrInvalidPropertyValue);
    marginAcrossMm = acrossMm;
    marginDownMm = downMm;
    Record("PageMargins");
    SizePage();
}

void RecordingPrinter::SizePage() {
    // The page window's pixels: the paper less its margins at 600 dots per inch. Resizing is not
    // something drawn, so the clearing it records is taken back.
    const double w = Width() / TwipsPerPaperMm - marginAcrossMm, h = Height() / TwipsPerPaperMm - marginDownMm;
    const size_t before = page.primitives.size();
    page.Resize(static_cast<int>(std::lround(std::max(1.0, w) * FakeDotsPerMm)),
                static_cast<int>(std::lround(std::max(1.0, h) * FakeDotsPerMm)));
    page.primitives.resize(before);
}

void RecordingPrinter::NewPage() {
    MaybeFail("NewPage");
    Record("NewPage");
    documentOpen_ = true;
    pages.push_back({page.primitives, page.stateCalls});
    page.ClearRecords();
}

void RecordingPrinter::EndDoc() {
    MaybeFail("EndDoc");
    Record("EndDoc");
    // What was drawn after the last new page makes one more page.
    if (!page.primitives.empty()) pages.push_back({page.primitives, page.stateCalls});
    page.ClearRecords();
    documentOpen_ = false;
    ++documentsEnded;
}

void RecordingPrinter::KillDoc() {
    MaybeFail("KillDoc");
    Record("KillDoc");
    page.ClearRecords();
    documentOpen_ = false;
    ++documentsKilled;
}

void RecordingPrinter::SetOutputFile(const std::string& path) {
    Record("OutputFile " + path);
    outputFile = path;
}

std::vector<std::string> RecordingPrinter::LogOf(const std::string& prefix) const {
    std::vector<std::string> out;
    for (const std::string& entry : log)
        if (entry.rfind(prefix, 0) == 0) out.push_back(entry);
    return out;
}

}  // namespace movra
