#include "display/TextRendering.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "App.h"
#include "basic/Errors.h"
#include "basic/Numbers.h"
#include "basic/Text.h"
#include "display/LineSink.h"
#include "document/Geometry.h"
#include "shell/stForm1.h"

namespace movra {

namespace {

// The face the cache keeps for the italic and the pixel texts.
constexpr const char* ItalicCacheSuffix = "y";
constexpr const char* PixelTextCacheSuffix = "z";
// What the cache holds once no created font is left.
constexpr const char* ReleasedCacheFace = "宋体";

// The fore colour of a text. The canvas colour is compared too: other drawings (canvas texts,
// lines) change it without telling the text state, and a text must not take their colour.
void SetTextColor(Surface& canvas, TextFontState& state, Rgb color) {
    if (color != state.LastTextColor || canvas.ForeColor() != color) canvas.SetForeColor(color);
    state.LastTextColor = color;
}

// The cached values are single precision; the arguments are compared in the same precision so
// that a width factor such as 0.7 finds the font made for it.
bool CacheHolds(const TextFontState& state, const std::string& face, double angle, double width,
                double size) {
    return state.TextFontHandle != 0 && EqualsIgnoreCase(face, state.FontCacheFace) &&
           static_cast<float>(angle) == state.FontCacheAngle &&
           static_cast<float>(width) == state.FontCacheWidth &&
           static_cast<float>(size) == state.FontCacheSize;
}

void StoreCache(TextFontState& state, const std::string& face, double angle, double width,
                double size) {
    state.FontCacheFace = face;
    state.FontCacheAngle = static_cast<float>(angle);
    state.FontCacheWidth = static_cast<float>(width);
    state.FontCacheSize = static_cast<float>(size);
}

// A text below one pixel high would be a dot of noise: it is not drawn.
bool TallEnough(App& app, double size) { return size * app.view.DisplayZoom >= 1; }

// Height of a sized screen font in pixels.
std::int32_t PixelHeight(App& app, double size) {
    return ToInt32(Int(size * app.view.DisplayZoom) + 1);
}

// Creates the font for the canvas, selects it and keeps both handles in the state.
void SelectCreatedFont(Surface& canvas, TextFontState& state, const LogicalFont& font,
                       bool advancedGraphicsMode) {
    state.TextDeviceContext = &canvas;
    state.TextLogFont = font;
    state.TextFontHandle = canvas.CreateFontIndirect(DeviceFontFor(font, advancedGraphicsMode));
    state.PreviousFontHandle = canvas.SelectFont(state.TextFontHandle);
}

// The upright and the italic turned texts differ in their font and in whether they reuse it.
void DrawSizedText(App& app, double x, double y, const std::string& text, double size,
                   double widthFactor, double angle, const std::string& face, Rgb color,
                   bool italic) {
    try {
        if (!TallEnough(app, size)) return;
        Surface& canvas = MainCanvas(app);
        TextFontState& state = app.display.TextFont;
        SetTextColor(canvas, state, TextColorFromPalette(app.tables, color));
        if (!italic && CacheHolds(state, face, angle, widthFactor, size)) {
            PrintInSelectedFont(canvas, x, y, text);
            return;
        }
        state.CanvasFontName.clear();
        ReleaseTextFont(app);
        state.ScaledFontSelected = True;
        StoreCache(state, italic ? face + ItalicCacheSuffix : face, angle, widthFactor, size);

        const double factor = widthFactor == 0 ? 0.5 : widthFactor;
        LogicalFont font;
        font.height = PixelHeight(app, size);
        font.width = ToInt32(Int(font.height * factor) - 1);
        font.escapement = ToInt32(Int(angle * 10));
        font.orientation = italic ? 0 : 10;
        font.weight = italic ? 100 : 400;
        font.italic = italic;
        font.charSet = 255;
        font.faceName = ScreenTextFace(face);
        SelectCreatedFont(canvas, state, font, false);
        PrintInSelectedFont(canvas, x, y, text);
        // No later text matches this size: the next one makes its own font.
        if (italic) state.FontCacheSize = 1;
    } catch (const RuntimeError&) {
        // What was printed stays.
    }
}

}  // namespace

Rgb TextColorFromPalette(const ColorFontTables& tables, Rgb color) {
    if (color >= 255) return color;
    if (color < 0) Raise(ErrSubscriptOutOfRange);
    return tables.ColorPalette[static_cast<size_t>(color)];
}

std::string ScreenTextFace(const std::string& face) {
    if (!face.empty() && !(Val(face) > 0)) return face + '\0';
    return "华文细黑";
}

TextAngles LeaningTextAngles(double angleDegrees) {
    if (angleDegrees < 0) return {2700, 0};
    if (angleDegrees == 0) return {0, 120};
    return {ToInt32(angleDegrees * 10), ToInt32(angleDegrees * 10 + 120)};
}

LogicalFont DeviceFontFor(const LogicalFont& requested, bool advancedGraphicsMode) {
    LogicalFont font = requested;
    if (!advancedGraphicsMode) font.orientation = font.escapement;
    return font;
}

void PrintInSelectedFont(Surface& surface, double x, double y, const std::string& text) {
    const float fx = static_cast<float>(x);
    const float fy = static_cast<float>(y);
    surface.SetCurrentX(fx);
    surface.SetCurrentY(fy);
    surface.TextOut(ToInt32(surface.ToPixelX(fx)), ToInt32(surface.ToPixelY(fy)), text);
}

void TextOutInFont(Surface& surface, const LogicalFont& font, int pixelX, int pixelY,
                   const std::string& text) {
    // Where the line and the letters differ in direction, each letter stands turned by the
    // orientation and the letters follow one another along the escapement, as a device in its
    // advanced mode sets them. A single turned-and-sheared line would fold flat when the two
    // directions differ by a right angle (a line running down with upright letters).
    const bool leaning = font.escapement != font.orientation;
    LogicalFont made = font;
    if (leaning) made.escapement = font.orientation;
    const FontHandle created = surface.CreateFontIndirect(made);
    const FontHandle previous = surface.SelectFont(created);
    if (!leaning) {
        surface.TextOut(pixelX, pixelY, text);
    } else {
        // A narrow character advances by the font's average width, a wide one by twice that.
        const double column = font.width > 0 ? font.width : std::max(1, std::abs(font.height) / 2);
        const double along = font.escapement / 10.0 * Pi / 180;
        const double stepX = column * std::cos(along);
        const double stepY = -column * std::sin(along);  // pixels grow downwards
        double advanced = 0;
        const long count = Len(text);
        for (long i = 1; i <= count; ++i) {
            const std::string letter = Mid(text, i, 1);
            surface.TextOut(ToInt32(pixelX + advanced * stepX), ToInt32(pixelY + advanced * stepY),
                            letter);
            advanced += DisplayColumns(letter);
        }
    }
    surface.SelectFont(previous);
    surface.DeleteFont(created);
}

void ForgetCanvasFontSize(App& app) {
    app.display.TextFont.CanvasFontSize = std::numeric_limits<float>::quiet_NaN();
}

void ReleaseTextFont(App& app) {
    TextFontState& state = app.display.TextFont;
    if (state.TextDeviceContext) {
        state.TextDeviceContext->SelectFont(state.PreviousFontHandle);
        // A font the pixel text deleted already is not deleted twice.
        if (state.TextFontHandle != 0) state.TextDeviceContext->DeleteFont(state.TextFontHandle);
    }
    state.TextFontHandle = 0;
    state.PreviousFontHandle = 0;
    state.FontCacheFace = ReleasedCacheFace;
    state.FontCacheAngle = 0;
    state.FontCacheWidth = 1;
    state.FontCacheSize = 8;
    state.CanvasFontName.clear();
}

void DrawTextAngled(App& app, double x, double y, const std::string& text, double size,
                    double widthFactor, double angle, std::int16_t, const std::string& face,
                    Rgb color) {
    DrawSizedText(app, x, y, text, size, widthFactor, angle, face, color, false);
}

void DrawTextItalic(App& app, double x, double y, const std::string& text, double size,
                    double widthFactor, double angle, std::int16_t, const std::string& face,
                    Rgb color) {
    DrawSizedText(app, x, y, text, size, widthFactor, angle, face, color, true);
}

void DrawTextGdi(App& app, double x, double y, const std::string& text, double size,
                 double widthFactor, double angle, std::int16_t, const std::string& face,
                 Rgb color) {
    try {
        Surface& canvas = MainCanvas(app);
        // One pixel per fifteenth of a twip of the canvas width, on both axes.
        const double pixelsPerUnit = canvas.PixelWidth() / canvas.ScaleWidth();
        const std::int32_t px = ToInt32((x - canvas.ScaleLeft()) * pixelsPerUnit);
        const std::int32_t py = ToInt32((canvas.ScaleTop() - y) * pixelsPerUnit);
        if (!TallEnough(app, size)) return;
        TextFontState& state = app.display.TextFont;
        SetTextColor(canvas, state, color);

        state.CanvasFontName.clear();
        ReleaseTextFont(app);
        state.ScaledFontSelected = True;
        StoreCache(state, face + PixelTextCacheSuffix, angle, widthFactor, size);

        LogicalFont font;
        font.height = PixelHeight(app, size);
        font.width = ToInt32(Int(font.height * 0.5) - 1);
        const TextAngles angles = LeaningTextAngles(angle);
        font.escapement = angles.escapement;
        font.orientation = angles.orientation;
        font.weight = 100;
        font.charSet = 255;
        font.faceName = ScreenTextFace(face);
        state.TextDeviceContext = &canvas;
        state.TextLogFont = font;
        // The letters lean against the line: the device draws this one in its advanced mode.
        TextOutInFont(canvas, DeviceFontFor(font, true), px, py, text);
        state.TextFontHandle = 0;
    } catch (const RuntimeError&) {
        if (app.form1) app.form1->Text2.SetText("........");
    }
}

void DrawTextDeviceFont(App& app, double x, double y, const std::string& text, double height,
                        double width, float angle, std::int16_t, const std::string& face,
                        Rgb color) {
    try {
        if (!(height >= 1)) return;
        Surface& canvas = MainCanvas(app);
        TextFontState& state = app.display.TextFont;
        SetTextColor(canvas, state, color);
        if (CacheHolds(state, face, angle, width, height)) {
            PrintInSelectedFont(canvas, x, y, text);
            return;
        }
        state.CanvasFontName.clear();
        ReleaseTextFont(app);
        state.DeviceFontSelected = True;
        StoreCache(state, face, angle, width, height);

        LogicalFont font;
        font.height = ToInt32(height);
        font.width = ToInt32(width);
        font.escapement = ToInt32(angle);
        font.orientation = font.escapement;
        font.weight = 50;
        font.charSet = 255;
        font.faceName = face + '\0';
        SelectCreatedFont(canvas, state, font, false);
        PrintInSelectedFont(canvas, x, y, text);
    } catch (const RuntimeError&) {
    }
}

void DrawTextSpaced(App& app, std::uint8_t layer, std::int16_t slot, std::int16_t drawFlag) {
    try {
        const MapRecord& record = app.store.Get(layer, slot);
        const std::string text = record.RecordText;
        // Every character has its place, the narrow ones too.
        const long count = Len(text);
        double direction = DmsToRad(std::fabs(record.RecordZ2)) + HalfPi;
        if (direction > TwoPi) direction -= TwoPi;
        const double step = (record.RecordX2 / 2.8 + 0.8) * app.view.ScaleFactor;

        Surface& canvas = MainCanvas(app);
        TextFontState& state = app.display.TextFont;
        const Rgb color = drawFlag == True ? record.RecordColor : app.view.BackgroundColor;
        canvas.SetForeColor(color);
        state.LastTextColor = color;
        canvas.SetFont(record.RecordFont, Int(app.view.DisplayZoom * record.RecordX2));
        state.FontCacheAngle = 0;
        // The canvas font changed behind the print branches' backs: the next one sets its own.
        state.CanvasFontName.clear();
        ForgetCanvasFontSize(app);

        const double dx = step * std::sin(direction);
        const double dy = step * std::cos(direction);
        for (long i = 1; i <= count; ++i) {
            canvas.SetCurrentX(static_cast<float>(record.RecordX1 + (i - 1) * dx));
            canvas.SetCurrentY(static_cast<float>(record.RecordY1 + (i - 1) * dy));
            canvas.Print(Mid(text, i, 1));
        }
    } catch (const RuntimeError&) {
    }
}

}  // namespace movra
