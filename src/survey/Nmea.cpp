#include "survey/Nmea.h"

#include <cmath>
#include <cstdlib>
#include <vector>

#include "basic/Numbers.h"
#include "basic/Text.h"

namespace movra {

namespace {

std::vector<std::string> SplitFields(const std::string& body) {
    std::vector<std::string> fields;
    size_t start = 0;
    for (;;) {
        const size_t at = body.find(',', start);
        if (at == std::string::npos) break;
        fields.push_back(body.substr(start, at - start));
        start = at + 1;
    }
    fields.push_back(body.substr(start));
    return fields;
}

// The whole field as a number, blanks around it allowed; nothing when it is none.
std::optional<double> FieldNumber(const std::string& field) {
    const std::string t = Trim(field);
    if (t.empty() || t.find_first_not_of("0123456789+-.") != std::string::npos) return std::nullopt;
    char* end = nullptr;
    const double value = std::strtod(t.c_str(), &end);
    if (end != t.c_str() + t.size() || !std::isfinite(value)) return std::nullopt;
    return value;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

bool ChecksumHolds(const std::string& body, char high, char low) {
    const int h = HexDigit(high), l = HexDigit(low);
    if (h < 0 || l < 0) return false;
    unsigned char sum = 0;
    for (char c : body) sum ^= static_cast<unsigned char>(c);
    return sum == h * 16 + l;
}

bool KnownTalker(const std::string& address, const char* type) {
    if (address.size() != 5 || address.compare(2, 3, type) != 0) return false;
    const std::string talker = address.substr(0, 2);
    return talker == "GP" || talker == "GN" || talker == "BD" || talker == "GB";
}

// The position from the fields at latitude, its hemisphere, longitude, its hemisphere.
std::optional<NmeaFix> PositionAt(const std::vector<std::string>& f, size_t at) {
    if (f.size() < at + 4) return std::nullopt;
    const auto latitude = FieldNumber(f[at]);
    const auto longitude = FieldNumber(f[at + 2]);
    if (!latitude || !longitude || *latitude < 0 || *longitude < 0) return std::nullopt;
    // Beyond the pole or the date line the receiver sent no position.
    if (NmeaToDegrees(*latitude) > 90 || NmeaToDegrees(*longitude) > 180) return std::nullopt;
    NmeaFix fix;
    fix.latitude = Trim(f[at + 1]) == "S" ? -*latitude : *latitude;
    fix.longitude = Trim(f[at + 3]) == "W" ? -*longitude : *longitude;
    return fix;
}

std::optional<NmeaFix> ReadSentence(const std::string& body) {
    const std::vector<std::string> f = SplitFields(body);
    if (KnownTalker(f[0], "RMC")) {
        if (f.size() < 9 || f[2] != "A") return std::nullopt;
        auto fix = PositionAt(f, 3);
        if (!fix) return std::nullopt;
        fix->time = f[1];
        // A receiver at rest often leaves speed and course empty: that is no reason to drop it.
        fix->speed = FieldNumber(f[7]).value_or(0);
        fix->course = FieldNumber(f[8]).value_or(0);
        return fix;
    }
    return std::nullopt;
}

}  // namespace

double NmeaToDegrees(double packed) {
    const double magnitude = std::fabs(packed);
    const double degrees = Int(magnitude / 100);
    const double value = degrees + (magnitude - degrees * 100) / 60;
    return packed < 0 ? -value : value;
}

std::optional<NmeaFix> TakeNmeaFix(std::string& buffer) {
    std::optional<NmeaFix> last;
    size_t at = 0;
    size_t pending = std::string::npos;  // the start of a sentence still arriving
    for (;;) {
        const size_t start = buffer.find('$', at);
        if (start == std::string::npos) break;
        const size_t end = buffer.find_first_of("*\r\n$", start + 1);
        if (end == std::string::npos) {
            pending = start;
            break;
        }
        // A sentence broken off by the start of the next one is lost.
        if (buffer[end] == '$') {
            at = end;
            continue;
        }
        const std::string body = buffer.substr(start + 1, end - start - 1);
        bool sound = true;
        if (buffer[end] == '*') {
            if (end + 3 > buffer.size()) {
                pending = start;
                break;
            }
            sound = ChecksumHolds(body, buffer[end + 1], buffer[end + 2]);
            at = end + 3;
        } else {
            at = end + 1;
        }
        if (sound)
            if (auto fix = ReadSentence(body)) last = fix;
    }
    if (pending == std::string::npos)
        buffer.clear();
    else
        buffer.erase(0, pending);
    if (buffer.size() > NmeaBufferLimit) buffer.erase(0, buffer.size() - NmeaBufferLimit);
    return last;
}

}  // namespace movra
