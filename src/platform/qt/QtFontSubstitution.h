#pragma once
#include <QFont>
#include <QString>
#include <string>

namespace movra {

// The kind of a Windows face name, by the look of its letters.
enum class FaceKind { Song, Hei, Kai, LatinSans, LatinSerif, LatinMono, Other };

// The kind of a face as the records name it ("宋体", "黑体", "楷体_GB2312", "Arial", ...).
FaceKind ClassifyFace(const std::string& faceName);

// The installed font family that draws a face. Records keep the Windows face names; this one
// table decides what stands in for each of them on this machine.
QString SubstituteFontFamily(const std::string& faceName);

// A font of the substituted family with the em height in pixels.
QFont MakeSubstitutedFont(const std::string& faceName, double emPixels, bool bold = false,
                          bool italic = false, bool underline = false);

}  // namespace movra
