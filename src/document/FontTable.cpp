#include "document/FontTable.h"

#include <iterator>

namespace movra {

namespace {

// "@" before a face name is the vertical-writing variant of that face.
constexpr const char* faces[] = {
    "华文细黑", "黑体", "宋体", "新宋体", "左斜宋体", "右斜宋", "隶书", "华文彩云",          // 0..7
    "华文仿宋", "华文琥珀", "华文楷体", "华文隶书", "华文宋体", "华文行楷", "华文新魏",       // 8..14
    "华文中宋", "方正舒体", "方正姚体", "幼圆", "楷体_GB2312", "仿宋_GB2312",               // 15..20
    "文鼎CS中等线", "文鼎特粗宋简", "创艺简细圆",                                           // 21..23
    "@宋体", "@新宋体", "@幼圆", "@华文中宋", "@华文新魏", "@华文行楷", "@华文细黑",        // 24..30
    "@华文宋体", "@华文隶书", "@华文楷体", "@华文琥珀", "@华文仿宋", "@华文彩云", "@隶书",  // 31..37
    "@方正姚体", "@方正舒体", "@仿宋_GB2312", "@楷体_GB2312", "@黑体",                      // 38..42
    "System", "@System", "Terminal", "@Terminal", "Fixedsys", "@Fixedsys",                  // 43..48
    "Roman", "Script", "Modern", "Small Fonts", "MS Serif",                                 // 49..53
    "WST_Czec", "WST_Engl", "WST_Fren", "WST_Germ", "WST_Ital", "WST_Span", "WST_Swed",     // 54..60
    "Courier", "MS Sans Serif", "Marlett",                                                  // 61..63
    "Arial", "Arial CE", "Arial CYR", "Arial Greek", "Arial TUR", "Arial Baltic",           // 64..69
    "Courier New", "Courier New CE", "Courier New CYR", "Courier New Greek",                // 70..73
    "Courier New TUR", "Courier New Baltic", "Lucida Console", "Lucida Sans Unicode",       // 74..77
    "Times New Roman", "Times New Roman CE", "Times New Roman CYR",                         // 78..80
    "Times New Roman Greek", "Times New Roman TUR", "Times New Roman Baltic",               // 81..83
    "Wingdings", "Symbol", "Verdana", "Arial Black", "Comic Sans MS", "Impact",             // 84..89
    "Georgia", "Franklin Gothic Medium", "Palatino Linotype", "Tahoma", "Trebuchet MS",     // 90..94
    "Webdings", "Estrangelo Edessa", "Gautami", "Latha", "Mangal", "MV Boli", "Raavi",      // 95..101
    "Shruti", "Tunga", "Sylfaen", "Microsoft Sans Serif",                                   // 102..105
    "MS Mincho", "@MS Mincho", "MS PMincho", "@MS PMincho", "MS Gothic", "@MS Gothic",      // 106..111
    "MS PGothic", "@MS PGothic", "MS UI Gothic", "@MS UI Gothic",                           // 112..115
    "Gulim", "@Gulim", "GulimChe", "@GulimChe", "Dotum", "@Dotum", "DotumChe", "@DotumChe", // 116..123
    "Batang", "@Batang", "BatangChe", "@BatangChe", "Gungsuh", "@Gungsuh",                  // 124..129
    "GungsuhChe", "@GungsuhChe", "MingLiU", "@MingLiU", "PMingLiU", "@PMingLiU",            // 130..135
    "Kartika", "Lucida Sans", "Vrinda", "Arial Narrow", "Arial Unicode MS",                 // 136..140
    "@Arial Unicode MS", "Book Antiqua", "Bookman Old Style", "Century", "Century Gothic",  // 141..145
    "Garamond", "Haettenschweiler", "Monotype Corsiva", "MS Outlook", "Wingdings 2",        // 146..150
    "Wingdings 3", "Map Symbols", "MT Extra",                                               // 151..153
};
static_assert(std::size(faces) == FontFaceCount);

}  // namespace

std::string FontIndexToName(std::uint8_t index) {
    if (index >= FontFaceCount) return "宋体";
    return faces[index];
}

}  // namespace movra
