#include "basic/Numbers.h"

#include <charconv>
#include <cmath>
#include <algorithm>
#include <cstdint>
#include <string_view>
#include <limits>
#include <string>

#include "basic/Errors.h"

namespace movra {

double Int(double x) { return std::floor(x); }

bool IsStorableCoordinate(double v) { return std::isfinite(v) && std::fabs(v) <= FarthestCoordinate; }

namespace {

// Banker's rounding, done by hand so that it does not depend on the floating-point rounding mode.
double RoundHalfEven(double x) {
    if (!std::isfinite(x)) Raise(ErrOverflow);
    double whole = std::floor(x);
    double fraction = x - whole;
    if (fraction > 0.5) return whole + 1;
    if (fraction < 0.5) return whole;
    return std::fmod(whole, 2.0) == 0 ? whole : whole + 1;
}

double RoundInRange(double x, double lowest, double highest) {
    double r = RoundHalfEven(x);
    if (r < lowest || r > highest) Raise(ErrOverflow);
    return r;
}

}  // namespace

std::uint8_t ToByte(double x) { return static_cast<std::uint8_t>(RoundInRange(x, 0, 255)); }

std::int16_t ToInt16(double x) { return static_cast<std::int16_t>(RoundInRange(x, -32768, 32767)); }

std::int32_t ToInt32(double x) {
    return static_cast<std::int32_t>(RoundInRange(x, -2147483648.0, 2147483647.0));
}

// ---------------------------------------------------------------------------------------------
// Val

namespace {

bool IsValBlank(char c) { return c == ' ' || c == '\t' || c == '\n'; }

// Characters that can be part of a number Val reads (blanks aside): used to stop collecting early.
bool IsNumberChar(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F') || c == '+' ||
           c == '-' || c == '.' || c == '&' || c == 'h' || c == 'H' || c == 'o' || c == 'O' || c == 'd' ||
           c == 'D';
}

int DigitValue(char c, int base) {
    int v = -1;
    if (c >= '0' && c <= '9') v = c - '0';
    else if (c >= 'a' && c <= 'f') v = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
    return v < base ? v : -1;
}

// "&H..." and "&O...": a value that fits 16 bits is read as a 16-bit integer ("&HFFFF" is -1),
// one that fits 32 bits, or one marked 32-bit by a trailing "&" ("&HFFFF&" is 65535), as a 32-bit
// integer; a larger one overflows.
double ReadRadixNumber(std::string_view digits, int base) {
    std::uint64_t value = 0;
    size_t i = 0;
    for (; i < digits.size(); ++i) {
        int d = DigitValue(digits[i], base);
        if (d < 0) break;
        value = value * base + d;
        if (value > 0xFFFFFFFFull) Raise(ErrOverflow);
    }
    bool long32 = i > 0 && i < digits.size() && digits[i] == '&';
    if (value <= 0xFFFF && !long32) return static_cast<std::int16_t>(static_cast<std::uint16_t>(value));
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

double ReadDecimalNumber(std::string_view s) {
    size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
    }
    std::string text;
    size_t mantissaDigits = 0;
    long wholeDigits = 0;  // significant digits before the point, for telling overflow from underflow
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
        if (!(text.empty() && s[i] == '0')) ++wholeDigits;
        text += s[i++];
        ++mantissaDigits;
    }
    if (i < s.size() && s[i] == '.') {
        text += s[i++];
        while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
            text += s[i++];
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0) return 0;
    long exponent = 0;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
        size_t j = i + 1;
        bool negativeExponent = false;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) {
            negativeExponent = s[j] == '-';
            ++j;
        }
        if (j < s.size() && s[j] >= '0' && s[j] <= '9') {
            text += negativeExponent ? "e-" : "e";
            while (j < s.size() && s[j] >= '0' && s[j] <= '9') {
                if (exponent < 100000) exponent = exponent * 10 + (s[j] - '0');
                text += s[j++];
            }
            if (negativeExponent) exponent = -exponent;
        }
    }
    double value = 0;
    auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        if (wholeDigits + exponent > 0) Raise(ErrOverflow);
        value = 0;
    } else if (result.ec != std::errc()) {
        return 0;
    }
    return negative ? -value : value;
}

}  // namespace

double Val(std::string_view text) {
    // The old runtime skipped blanks anywhere in the number ("1 2" reads 12).
    std::string compact;
    for (char c : text) {
        if (IsValBlank(c)) continue;
        if (!IsNumberChar(c)) break;
        compact += c;
    }
    if (!compact.empty() && compact[0] == '&') {
        if (compact.size() >= 2 && (compact[1] == 'H' || compact[1] == 'h'))
            return ReadRadixNumber(std::string_view(compact).substr(2), 16);
        if (compact.size() >= 2 && (compact[1] == 'O' || compact[1] == 'o'))
            return ReadRadixNumber(std::string_view(compact).substr(2), 8);
        return 0;
    }
    return ReadDecimalNumber(compact);
}

double NumericPrefix(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    const std::size_t start = i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    auto digits = [&text](std::size_t& at) {
        const std::size_t from = at;
        while (at < text.size() && text[at] >= '0' && text[at] <= '9') ++at;
        return at - from;
    };
    std::size_t mantissaDigits = digits(i);
    if (i < text.size() && text[i] == '.') {
        std::size_t afterPoint = i + 1;
        const std::size_t fraction = digits(afterPoint);
        if (mantissaDigits + fraction > 0) {
            i = afterPoint;
            mantissaDigits += fraction;
        }
    }
    if (mantissaDigits == 0) return 0;
    // An exponent counts only when digits follow it ("2e" reads 2).
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t at = i + 1;
        if (at < text.size() && (text[at] == '+' || text[at] == '-')) ++at;
        if (digits(at) > 0) i = at;
    }
    std::string_view number = text.substr(start, i - start);
    if (!number.empty() && number[0] == '+') number.remove_prefix(1);
    double value = 0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        // Too large or too small for a double: which one, the decimal exponent of the value tells.
        long exponent = 0;
        const std::size_t e = number.find_first_of("eE");
        if (e != std::string_view::npos) {
            std::string_view ex = number.substr(e + 1);
            const bool minus = !ex.empty() && ex[0] == '-';
            if (!ex.empty() && (ex[0] == '-' || ex[0] == '+')) ex.remove_prefix(1);
            for (char c : ex) exponent = std::min<long>(exponent * 10 + (c - '0'), 100000000L);
            if (minus) exponent = -exponent;
        }
        const std::string_view mantissa = number.substr(0, e);
        // The position of the first significant digit relative to the point.
        long magnitude = 0;
        const std::size_t point = mantissa.find('.');
        const std::size_t firstSignificant = mantissa.find_first_of("123456789");
        if (firstSignificant == std::string_view::npos) return 0;
        const std::size_t wholeEnd = point == std::string_view::npos ? mantissa.size() : point;
        magnitude = firstSignificant < wholeEnd ? static_cast<long>(wholeEnd - firstSignificant)
                                                : -static_cast<long>(firstSignificant - wholeEnd - 1);
        const bool huge = magnitude + exponent > 0;
        value = huge ? std::numeric_limits<double>::max() : 0.0;
        if (negative) value = -value;
    } else if (result.ec != std::errc()) {
        return 0;
    }
    return value;
}

// ---------------------------------------------------------------------------------------------
// Plain and print forms

namespace {

// The plain form of a magnitude (>= 0) with `precision` significant digits, formatted from the
// scientific digits so that the locale never changes the decimal point.
template <class T>
std::string PlainMagnitude(T magnitude, int precision) {
    if (std::isnan(magnitude)) return "NaN";
    if (std::isinf(magnitude)) return "Inf";
    if (magnitude == 0) return "0";
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific,
                                precision - 1);
    std::string_view sci(buffer, result.ptr - buffer);
    size_t ePos = sci.find('e');
    std::string digits;
    for (char c : sci.substr(0, ePos)) {
        if (c >= '0' && c <= '9') digits += c;
    }
    int exponent = 0;
    std::from_chars(sci.data() + ePos + 1 + (sci[ePos + 1] == '+' ? 1 : 0), sci.data() + sci.size(), exponent);
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

    std::string out;
    if (exponent >= precision || exponent < -4) {
        out += digits[0];
        if (digits.size() > 1) {
            out += '.';
            out.append(digits, 1, std::string::npos);
        }
        out += exponent < 0 ? "E-" : "E+";
        int absExponent = exponent < 0 ? -exponent : exponent;
        if (absExponent < 10) out += '0';
        out += std::to_string(absExponent);
    } else if (exponent >= 0) {
        size_t wholeCount = static_cast<size_t>(exponent) + 1;
        if (digits.size() <= wholeCount) {
            out = digits + std::string(wholeCount - digits.size(), '0');
        } else {
            out = digits.substr(0, wholeCount) + "." + digits.substr(wholeCount);
        }
    } else {
        out = "0." + std::string(static_cast<size_t>(-exponent - 1), '0') + digits;
    }
    return out;
}

template <class T>
std::string SignedPlain(T value, int precision) {
    if (value < 0) return "-" + PlainMagnitude(-value, precision);
    return PlainMagnitude(std::fabs(value), precision);  // also turns -0 into 0
}

std::string PrintForm(bool negative, const std::string& magnitude) {
    return (negative ? "-" : " ") + magnitude + " ";
}

}  // namespace

std::string PlainNumberText(double value) { return SignedPlain(value, 15); }
std::string PlainNumberText(float value) { return SignedPlain(value, 7); }
std::string PlainNumberText(std::int32_t value) { return std::to_string(value); }
std::string PlainNumberText(std::uint8_t value) { return std::to_string(value); }

std::string ScaleDenominatorText(double value) {
    if (!std::isfinite(value) || std::fabs(value) > 3.0e38) return PlainNumberText(value);
    return PlainNumberText(static_cast<float>(value));
}

std::string DecimalNumberText(double value, int maxDecimals) {
    if (!std::isfinite(value) || std::fabs(value) >= 1e15) return PlainNumberText(value);
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed,
                                      std::clamp(maxDecimals, 0, 30));
    std::string text(buffer, result.ptr);
    if (text.find('.') != std::string::npos) {
        while (text.back() == '0') text.pop_back();
        if (text.back() == '.') text.pop_back();
    }
    return text == "-0" ? "0" : text;
}

std::string PrintNumberText(double value) {
    return PrintForm(value < 0, PlainMagnitude(std::fabs(value), 15));
}
std::string PrintNumberText(float value) { return PrintForm(value < 0, PlainMagnitude(std::fabs(value), 7)); }
std::string PrintNumberText(std::int32_t value) {
    std::int64_t v = value;
    return PrintForm(v < 0, std::to_string(v < 0 ? -v : v));
}
std::string PrintNumberText(std::uint8_t value) { return PrintForm(false, std::to_string(value)); }

namespace {
std::string WithoutTrailingBlank(std::string text) {
    text.pop_back();
    return text;
}
}  // namespace

std::string StrNumber(double value) { return WithoutTrailingBlank(PrintNumberText(value)); }
std::string StrNumber(float value) { return WithoutTrailingBlank(PrintNumberText(value)); }
std::string StrNumber(std::int32_t value) { return WithoutTrailingBlank(PrintNumberText(value)); }

bool IsWholeNumber(std::string_view text) {
    std::size_t i = 0;
    std::size_t end = text.size();
    while (i < end && (text[i] == ' ' || text[i] == '\t')) ++i;
    while (end > i && (text[end - 1] == ' ' || text[end - 1] == '\t')) --end;
    const auto digit = [&text](std::size_t k) { return text[k] >= '0' && text[k] <= '9'; };
    if (i < end && (text[i] == '+' || text[i] == '-')) ++i;
    bool digits = false;
    while (i < end && digit(i)) ++i, digits = true;
    if (i < end && text[i] == '.') {
        ++i;
        while (i < end && digit(i)) ++i, digits = true;
    }
    if (!digits) return false;
    if (i < end && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < end && (text[i] == '+' || text[i] == '-')) ++i;
        const std::size_t exponent = i;
        while (i < end && digit(i)) ++i;
        if (i == exponent) return false;
    }
    return i == end;
}

}  // namespace movra
