#include "platform/qt/QtFontSubstitution.h"

#include <QFontDatabase>
#include <QHash>
#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace movra {

namespace {

struct FaceEntry {
    const char* face;  // lower case for the Latin names
    FaceKind kind;
};

// Windows faces the maps and the forms name, by kind.
constexpr std::array kFaces{
    FaceEntry{"宋体", FaceKind::Song},         FaceEntry{"新宋体", FaceKind::Song},
    FaceEntry{"仿宋_gb2312", FaceKind::Song},  FaceEntry{"仿宋", FaceKind::Song},
    FaceEntry{"华文宋体", FaceKind::Song},     FaceEntry{"华文中宋", FaceKind::Song},
    FaceEntry{"华文仿宋", FaceKind::Song},     FaceEntry{"方正舒体", FaceKind::Kai},
    FaceEntry{"simsun", FaceKind::Song},       FaceEntry{"nsimsun", FaceKind::Song},
    FaceEntry{"fangsong", FaceKind::Song},     FaceEntry{"fangsong_gb2312", FaceKind::Song},
    FaceEntry{"stsong", FaceKind::Song},       FaceEntry{"stzhongsong", FaceKind::Song},
    FaceEntry{"stfangsong", FaceKind::Song},   FaceEntry{"times new roman", FaceKind::Song},
    FaceEntry{"黑体", FaceKind::Hei},          FaceEntry{"微软雅黑", FaceKind::Hei},
    FaceEntry{"华文细黑", FaceKind::Hei},      FaceEntry{"华文黑体", FaceKind::Hei},
    FaceEntry{"幼圆", FaceKind::Hei},          FaceEntry{"华文彩云", FaceKind::Hei},
    FaceEntry{"华文琥珀", FaceKind::Hei},      FaceEntry{"simhei", FaceKind::Hei},
    FaceEntry{"microsoft yahei", FaceKind::Hei}, FaceEntry{"stxihei", FaceKind::Hei},
    FaceEntry{"stheiti", FaceKind::Hei},       FaceEntry{"youyuan", FaceKind::Hei},
    FaceEntry{"arial", FaceKind::Hei},         FaceEntry{"楷体_gb2312", FaceKind::Kai},
    FaceEntry{"楷体", FaceKind::Kai},          FaceEntry{"华文楷体", FaceKind::Kai},
    FaceEntry{"华文行楷", FaceKind::Kai},      FaceEntry{"华文隶书", FaceKind::Kai},
    FaceEntry{"隶书", FaceKind::Kai},          FaceEntry{"华文新魏", FaceKind::Kai},
    FaceEntry{"kaiti", FaceKind::Kai},         FaceEntry{"kaiti_gb2312", FaceKind::Kai},
    FaceEntry{"stkaiti", FaceKind::Kai},       FaceEntry{"lisu", FaceKind::Kai},
    FaceEntry{"tahoma", FaceKind::LatinSans},  FaceEntry{"verdana", FaceKind::LatinSans},
    FaceEntry{"ms sans serif", FaceKind::LatinSans}, FaceEntry{"segoe ui", FaceKind::LatinSans},
    FaceEntry{"calibri", FaceKind::LatinSans}, FaceEntry{"system", FaceKind::LatinSans},
    FaceEntry{"ms serif", FaceKind::LatinSerif}, FaceEntry{"georgia", FaceKind::LatinSerif},
    FaceEntry{"cambria", FaceKind::LatinSerif}, FaceEntry{"courier new", FaceKind::LatinMono},
    FaceEntry{"courier", FaceKind::LatinMono}, FaceEntry{"consolas", FaceKind::LatinMono},
    FaceEntry{"fixedsys", FaceKind::LatinMono}, FaceEntry{"lucida console", FaceKind::LatinMono},
};

// What stands in for each kind, the first installed one winning.
//
// The Noto CJK fonts come last: they give the Kangxi radicals (U+2F00..) the very glyphs of the
// common characters 日, 大, 黑, ..., and a PDF maps each glyph back to the first character that
// uses it, so text printed in them copies and searches as radicals. The AR PL and Droid fonts
// keep one glyph per character.
std::vector<const char*> CandidatesFor(FaceKind kind) {
    switch (kind) {
        case FaceKind::Song: return {"AR PL UMing CN", "Droid Sans Fallback", "Noto Serif CJK SC"};
        case FaceKind::Hei: return {"Droid Sans Fallback", "WenQuanYi Micro Hei", "AR PL UMing CN", "Noto Sans CJK SC"};
        case FaceKind::Kai: return {"AR PL UKai CN", "AR PL UMing CN", "Droid Sans Fallback"};
        case FaceKind::LatinSans: return {"DejaVu Sans", "Droid Sans Fallback"};
        case FaceKind::LatinSerif: return {"DejaVu Serif", "AR PL UMing CN"};
        case FaceKind::LatinMono: return {"DejaVu Sans Mono", "Droid Sans Fallback"};
        case FaceKind::Other: break;
    }
    // An unknown face may carry Chinese text: a Hei font draws it rather than boxes.
    return {"Droid Sans Fallback", "AR PL UMing CN", "DejaVu Sans"};
}

// The font that draws the Chinese characters a family lacks (a Latin face holding Chinese text),
// named so that the font matcher does not fall back on one of the Noto CJK fonts.
// Empty for a family that writes Chinese itself. Looked up once per family: asking the font
// database costs more than drawing a text, and a font with two families is slower to match.
QString ChineseFallbackFor(const QString& family) {
    static const QString fallback = [] {
        for (const char* candidate : {"Droid Sans Fallback", "AR PL UMing CN"}) {
            const QString name = QString::fromUtf8(candidate);
            if (QFontDatabase::hasFamily(name)) return name;
        }
        return QString();
    }();
    static QHash<QString, bool> writesChinese;
    auto known = writesChinese.constFind(family);
    if (known == writesChinese.constEnd())
        known = writesChinese.insert(
            family, QFontDatabase::writingSystems(family).contains(QFontDatabase::SimplifiedChinese));
    return *known ? QString() : fallback;
}

// The face as written, without the NUL a device record may carry, the "@" of vertical faces and
// surrounding blanks; Latin letters in lower case.
QString CleanFace(const std::string& faceName) {
    std::string face = faceName.substr(0, faceName.find('\0'));
    QString text = QString::fromUtf8(face.data(), static_cast<qsizetype>(face.size())).trimmed();
    if (text.startsWith('@')) text.remove(0, 1);
    return text.toLower();
}

}  // namespace

FaceKind ClassifyFace(const std::string& faceName) {
    QString face = CleanFace(faceName);
    for (const auto& entry : kFaces)
        if (face == QString::fromUtf8(entry.face)) return entry.kind;
    // Faces not in the table still tell their kind by name.
    if (face.contains(QStringLiteral("楷")) || face.contains(QStringLiteral("隶"))) return FaceKind::Kai;
    if (face.contains(QStringLiteral("宋"))) return FaceKind::Song;
    if (face.contains(QStringLiteral("黑")) || face.contains(QStringLiteral("圆"))) return FaceKind::Hei;
    return FaceKind::Other;
}

QString SubstituteFontFamily(const std::string& faceName) {
    static QHash<QString, QString> cache;
    QString key = CleanFace(faceName);
    auto found = cache.constFind(key);
    if (found != cache.constEnd()) return *found;

    FaceKind kind = ClassifyFace(faceName);
    QString chosen;
    if (kind == FaceKind::Other && !key.isEmpty()) {
        // An installed face of that name draws itself.
        for (const QString& family : QFontDatabase::families())
            if (family.compare(key, Qt::CaseInsensitive) == 0) chosen = family;
    }
    if (chosen.isEmpty()) {
        for (const char* candidate : CandidatesFor(kind)) {
            if (QFontDatabase::hasFamily(QString::fromUtf8(candidate))) {
                chosen = QString::fromUtf8(candidate);
                break;
            }
        }
    }
    // Nothing of ours is installed: leave the choice to the font matcher.
    if (chosen.isEmpty()) chosen = QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    cache.insert(key, chosen);
    return chosen;
}

QFont MakeSubstitutedFont(const std::string& faceName, double emPixels, bool bold, bool italic,
                          bool underline) {
    const QString family = SubstituteFontFamily(faceName);
    QFont font(family);
    const QString fallback = ChineseFallbackFor(family);
    if (!fallback.isEmpty() && fallback != family) font.setFamilies({family, fallback});
    int pixels = static_cast<int>(std::lround(emPixels));
    font.setPixelSize(std::clamp(pixels, 1, 4000));
    font.setBold(bold);
    font.setItalic(italic);
    font.setUnderline(underline);
    return font;
}

}  // namespace movra
