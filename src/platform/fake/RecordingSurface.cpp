#include "platform/fake/RecordingSurface.h"

#include <algorithm>
#include <cmath>

#include "basic/Text.h"

namespace movra {

RecordingSurface::RecordingSurface(int pixelWidth, int pixelHeight)
    : pixelWidth_(std::max(1, pixelWidth)), pixelHeight_(std::max(1, pixelHeight)) {
    width_ = pixelWidth_;
    height_ = pixelHeight_;
}

void RecordingSurface::Resize(int pixelWidth, int pixelHeight) {
    pixelWidth_ = std::max(1, pixelWidth);
    pixelHeight_ = std::max(1, pixelHeight);
    if (!userScale_) {
        width_ = pixelWidth_;
        height_ = pixelHeight_;
    }
    primitives.push_back(Stamp(SurfacePrimitive::Kind::Clear, backColor_));
}

void RecordingSurface::SetScale(double left, double top, double width, double height) {
    // A zero extent would make every conversion divide by zero; a canvas refuses it too.
    if (width == 0 || height == 0 || !std::isfinite(width) || !std::isfinite(height)) return;
    userScale_ = true;
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    Log("Scale", width);
}

double RecordingSurface::ToPixelX(double x) const { return (x - left_) * pixelWidth_ / width_; }
double RecordingSurface::ToPixelY(double y) const { return (y - top_) * pixelHeight_ / height_; }
double RecordingSurface::FromPixelX(double px) const { return left_ + px * width_ / pixelWidth_; }
double RecordingSurface::FromPixelY(double py) const { return top_ + py * height_ / pixelHeight_; }

void RecordingSurface::SetForeColor(Rgb color) {
    foreColor_ = color;
    Log("ForeColor", color);
}

void RecordingSurface::SetBackColor(Rgb color) {
    backColor_ = color;
    Log("BackColor", color);
    primitives.push_back(Stamp(SurfacePrimitive::Kind::Clear, color));
}

void RecordingSurface::SetDrawWidth(int pixels) {
    drawWidth_ = std::max(1, pixels);
    Log("DrawWidth", pixels);
}

void RecordingSurface::SetDrawStyle(int style) {
    drawStyle_ = std::clamp(style, 0, 6);
    Log("DrawStyle", style);
}

void RecordingSurface::SetDrawMode(int mode) {
    drawMode_ = std::clamp(mode, 1, 16);
    Log("DrawMode", mode);
}

void RecordingSurface::SetFillStyle(int style) {
    fillStyle_ = std::clamp(style, 0, 7);
    Log("FillStyle", style);
}

void RecordingSurface::SetFillColor(Rgb color) {
    fillColor_ = color;
    Log("FillColor", color);
}

SurfacePrimitive RecordingSurface::Stamp(SurfacePrimitive::Kind kind, Rgb color) const {
    SurfacePrimitive p;
    p.kind = kind;
    p.color = color < 0 ? foreColor_ : color;
    p.drawWidth = drawWidth_;
    p.drawStyle = drawStyle_;
    p.drawMode = drawMode_;
    p.fillStyle = fillStyle_;
    p.fillColor = fillColor_;
    p.fontName = fontName_;
    p.fontSize = fontSize_;
    p.bold = bold_;
    p.italic = italic_;
    p.underline = underline_;
    p.fontTransparent = fontTransparent_;
    p.deviceFont = selectedFont_;
    auto font = createdFonts.find(selectedFont_);
    if (font != createdFonts.end()) p.logicalFont = font->second;
    p.transform = transform_;
    p.worldTransformSet = transformSet_;
    p.clipped = clipped_;
    p.clipLeft = clipLeft_;
    p.clipTop = clipTop_;
    p.clipRight = clipRight_;
    p.clipBottom = clipBottom_;
    return p;
}

void RecordingSurface::SetClipRect(double left, double top, double right, double bottom) {
    clipped_ = true;
    clipLeft_ = left;
    clipTop_ = top;
    clipRight_ = right;
    clipBottom_ = bottom;
}

void RecordingSurface::ClearClipRect() { clipped_ = false; }

void RecordingSurface::Line(double x1, double y1, double x2, double y2, Rgb color, LineShape shape) {
    auto kind = shape == LineShape::Line  ? SurfacePrimitive::Kind::Line
                : shape == LineShape::Box ? SurfacePrimitive::Kind::Box
                                          : SurfacePrimitive::Kind::FilledBox;
    SurfacePrimitive p = Stamp(kind, color);
    p.x1 = x1;
    p.y1 = y1;
    p.x2 = x2;
    p.y2 = y2;
    primitives.push_back(p);
    currentX_ = x2;
    currentY_ = y2;
}

void RecordingSurface::Circle(double x, double y, double radius, Rgb color, bool hasArc, double start,
                              double end, double aspect) {
    SurfacePrimitive p = Stamp(SurfacePrimitive::Kind::Circle, color);
    p.x1 = x;
    p.y1 = y;
    p.radius = radius;
    p.hasArc = hasArc;
    p.start = start;
    p.end = end;
    p.aspect = aspect;
    primitives.push_back(p);
    currentX_ = x;
    currentY_ = y;
}

void RecordingSurface::PSet(double x, double y, Rgb color) {
    SurfacePrimitive p = Stamp(SurfacePrimitive::Kind::Point, color);
    p.x1 = x;
    p.y1 = y;
    primitives.push_back(p);
    currentX_ = x;
    currentY_ = y;
}

Rgb RecordingSurface::Point(double x, double y) const {
    double px = ToPixelX(x);
    double py = ToPixelY(y);
    if (!(px >= 0 && py >= 0 && px < pixelWidth_ && py < pixelHeight_)) return -1;
    return backColor_;
}

void RecordingSurface::Cls() {
    primitives.push_back(Stamp(SurfacePrimitive::Kind::Clear, backColor_));
    currentX_ = 0;
    currentY_ = 0;
}

void RecordingSurface::SetFont(const std::string& faceName, double sizePoints, bool bold, bool italic,
                               bool underline) {
    fontName_ = faceName;
    if (sizePoints > 0 && std::isfinite(sizePoints)) fontSize_ = sizePoints;
    bold_ = bold;
    italic_ = italic;
    underline_ = underline;
    Log("Font", fontSize_);
}

void RecordingSurface::SetFontTransparent(bool transparent) {
    fontTransparent_ = transparent;
    Log("FontTransparent", transparent ? 1 : 0);
}

double RecordingSurface::CellHeightPixels() const { return std::ceil(fontSize_ * 96.0 / 72.0); }

double RecordingSurface::TextWidth(const std::string& text) const {
    double pixels = DisplayColumns(text) * CellHeightPixels() / 2.0;
    return pixels * width_ / pixelWidth_;
}

double RecordingSurface::TextHeight(const std::string&) const {
    return CellHeightPixels() * height_ / pixelHeight_;
}

void RecordingSurface::Print(const std::string& text, bool newLine) {
    SurfacePrimitive p = Stamp(SurfacePrimitive::Kind::Print, -1);
    p.x1 = currentX_;
    p.y1 = currentY_;
    p.text = text;
    primitives.push_back(p);
    if (newLine) {
        currentX_ = left_;
        currentY_ += TextHeight(text);
    } else {
        currentX_ += TextWidth(text);
    }
}

void RecordingSurface::PaintPicture(const Picture& picture, double x, double y, double w, double h) {
    SurfacePrimitive p = Stamp(SurfacePrimitive::Kind::Picture, -1);
    p.x1 = x;
    p.y1 = y;
    p.x2 = w;
    p.y2 = h;
    p.pictureWidth = picture.width;
    p.pictureHeight = picture.height;
    primitives.push_back(p);
}

void RecordingSurface::FloodFill(int pixelX, int pixelY, Rgb color, int kind) {
    SurfacePrimitive p = Stamp(SurfacePrimitive::Kind::FloodFill, color);
    p.pixelX = pixelX;
    p.pixelY = pixelY;
    p.floodKind = kind;
    primitives.push_back(p);
}

FontHandle RecordingSurface::CreateFontIndirect(const LogicalFont& font) {
    FontHandle handle = nextFont_++;
    createdFonts[handle] = font;
    liveFonts_[handle] = true;
    return handle;
}

FontHandle RecordingSurface::SelectFont(FontHandle font) {
    // Selecting an unknown or deleted handle fails and changes nothing, as a device does.
    if (font != 0 && !liveFonts_.contains(font)) return 0;
    FontHandle previous = selectedFont_;
    selectedFont_ = font;
    return previous;
}

bool RecordingSurface::DeleteFont(FontHandle font) {
    auto it = liveFonts_.find(font);
    if (it == liveFonts_.end()) return false;
    liveFonts_.erase(it);
    deletedFonts.push_back(font);
    if (selectedFont_ == font) selectedFont_ = 0;
    return true;
}

void RecordingSurface::TextOut(int pixelX, int pixelY, const std::string& text) {
    SurfacePrimitive p = Stamp(SurfacePrimitive::Kind::TextOut, -1);
    p.pixelX = pixelX;
    p.pixelY = pixelY;
    p.text = text;
    primitives.push_back(p);
}

void RecordingSurface::SetWorldTransform(const WorldTransform& transform) {
    transform_ = transform;
    transformSet_ = true;
}

void RecordingSurface::ResetWorldTransform() {
    transform_ = WorldTransform{};
    transformSet_ = false;
}

Picture RecordingSurface::Snapshot() const {
    Picture picture;
    picture.width = pixelWidth_;
    picture.height = pixelHeight_;
    std::uint32_t argb = 0xFF000000u | (static_cast<std::uint32_t>(RedOf(backColor_)) << 16) |
                         (static_cast<std::uint32_t>(GreenOf(backColor_)) << 8) |
                         static_cast<std::uint32_t>(BlueOf(backColor_));
    picture.pixels.assign(static_cast<size_t>(pixelWidth_) * pixelHeight_, argb);
    return picture;
}

void RecordingSurface::ClearRecords() {
    primitives.clear();
    stateCalls.clear();
}

std::vector<SurfaceStateCall> RecordingSurface::CallsNamed(const std::string& name) const {
    std::vector<SurfaceStateCall> calls;
    for (const auto& call : stateCalls)
        if (call.name == name) calls.push_back(call);
    return calls;
}

std::vector<SurfacePrimitive> RecordingSurface::PrimitivesOf(SurfacePrimitive::Kind kind) const {
    std::vector<SurfacePrimitive> found;
    for (const auto& p : primitives)
        if (p.kind == kind) found.push_back(p);
    return found;
}

}  // namespace movra
