#include "platform/qt/QtClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>

namespace movra {

std::string QtClipboard::GetText() { return QGuiApplication::clipboard()->text().toStdString(); }

void QtClipboard::SetText(const std::string& text) {
    QGuiApplication::clipboard()->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

void QtClipboard::SetPicture(const Picture& picture) {
    if (picture.Empty() || picture.pixels.size() < static_cast<size_t>(picture.width) * picture.height) return;
    QImage image(reinterpret_cast<const uchar*>(picture.pixels.data()), picture.width, picture.height,
                 picture.width * 4, QImage::Format_ARGB32);
    QGuiApplication::clipboard()->setImage(image.copy());
}

void QtClipboard::Clear() { QGuiApplication::clipboard()->clear(); }

}  // namespace movra
