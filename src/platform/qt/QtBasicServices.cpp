#include "platform/qt/QtBasicServices.h"

#include <QApplication>
#include <QBuffer>
#include <QCoreApplication>
#include <QFileInfo>
#include <QFontDatabase>
#include <QImage>
#include <QImageReader>
#include <QScreen>
#include <QStandardPaths>
#include <cmath>
#include <exception>

#include "basic/Files.h"

namespace movra {

namespace {

QString FromUtf8(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

QScreen* MainScreen() { return QGuiApplication::primaryScreen(); }

int TwipsPerPixel(double logicalDpi) {
    if (!(logicalDpi > 0)) return 15;
    return std::max(1, static_cast<int>(std::lround(1440.0 / logicalDpi)));
}

}  // namespace


int QtScreen::TwipsPerPixelX() const {
    QScreen* screen = MainScreen();
    return TwipsPerPixel(screen ? screen->logicalDotsPerInchX() : 96);
}

int QtScreen::TwipsPerPixelY() const {
    QScreen* screen = MainScreen();
    return TwipsPerPixel(screen ? screen->logicalDotsPerInchY() : 96);
}

int QtScreen::WidthTwips() const {
    QScreen* screen = MainScreen();
    return (screen ? screen->geometry().width() : 1920) * TwipsPerPixelX();
}

int QtScreen::HeightTwips() const {
    QScreen* screen = MainScreen();
    return (screen ? screen->geometry().height() : 1080) * TwipsPerPixelY();
}

std::vector<std::string> QtScreen::FontFamilies() const {
    std::vector<std::string> families;
    for (const QString& family : QFontDatabase::families()) families.push_back(family.toStdString());
    return families;
}

void QtEvents::DoEvents() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

std::optional<Picture> QtPictureFiles::Load(const std::string& path) {
    // A pipe or a device named as a picture would keep the reader waiting for data.
    if (!FileExists(path)) return std::nullopt;
    QImageReader reader(FromUtf8(path));
    reader.setDecideFormatFromContent(true);
    QImage image = reader.read();
    if (image.isNull()) return std::nullopt;
    image = image.convertToFormat(QImage::Format_ARGB32);
    Picture picture;
    picture.width = image.width();
    picture.height = image.height();
    picture.pixels.resize(static_cast<size_t>(picture.width) * picture.height);
    for (int y = 0; y < picture.height; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        std::copy(row, row + picture.width, picture.pixels.begin() + static_cast<std::ptrdiff_t>(y) * picture.width);
    }
    return picture;
}

bool QtPictureFiles::Save(const Picture& picture, const std::string& path) {
    const std::optional<std::string> bytes = Encode(picture, QFileInfo(FromUtf8(path)).suffix().toLower().toStdString());
    if (!bytes) return false;
    try {
        // Written like every other file: the old one stays until the new one is whole.
        WriteWholeFile(path, *bytes);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

std::optional<std::string> QtPictureFiles::Encode(const Picture& picture, const std::string& format) {
    if (picture.Empty() || picture.pixels.size() < static_cast<size_t>(picture.width) * picture.height)
        return std::nullopt;
    const char* qtFormat = format == "bmp" ? "BMP" : format == "png" ? "PNG" : (format == "jpg" || format == "jpeg") ? "JPG" : nullptr;
    if (!qtFormat) return std::nullopt;
    QImage image(reinterpret_cast<const uchar*>(picture.pixels.data()), picture.width, picture.height,
                 picture.width * 4, QImage::Format_ARGB32);
    // BMP and JPG carry no transparency.
    QImage written = format == "png" ? image.copy() : image.convertToFormat(QImage::Format_RGB32);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!written.save(&buffer, qtFormat)) return std::nullopt;
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

std::string QtFolders::DesktopFolder() const {
    QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    return desktop.isEmpty() ? work_ : desktop.toStdString();
}

}  // namespace movra
