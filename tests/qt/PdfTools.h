#pragma once
// What the PDF printing tests share: shell commands of the PDF tools, which must be there, and
// the fake platform with picture canvases and Qt's PDF printer.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "QtCanvasPlatform.h"
#include "platform/qt/QtPrinter.h"

namespace movra {

// The output of a shell command; the test fails when the command is missing or fails.
inline std::string Shell(const std::string& command) {
    std::string out;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe) return out;
    std::array<char, 4096> buffer{};
    size_t n;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) out.append(buffer.data(), n);
    const int status = pclose(pipe);
    EXPECT_EQ(status, 0) << command << "\n" << out;
    return out;
}

inline void RequireTool(const char* tool) {
    ASSERT_EQ(std::system((std::string("command -v ") + tool + " >/dev/null").c_str()), 0)
        << tool << " is missing: scripts/setup installs poppler-utils";
}

// The fake platform with picture canvases and the Qt PDF printer writing `pdf`.
class PdfPlatform : public QtCanvasPlatform {
public:
    PdfPlatform(std::string program, std::string work, const std::string& pdf)
        : QtCanvasPlatform(std::move(program), std::move(work)), pdf_(pdf, false) {}
    Printer& printer() override { return pdf_; }
    QtPrinter& pdf() { return pdf_; }

private:
    QtPrinter pdf_;
};

}  // namespace movra
