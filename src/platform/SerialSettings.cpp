#include "platform/SerialSettings.h"

#include <cctype>
#include <sstream>
#include <vector>

namespace movra {

namespace {
std::string Stripped(const std::string& field) {
    size_t first = field.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    size_t last = field.find_last_not_of(" \t");
    return field.substr(first, last - first + 1);
}

bool AllDigits(const std::string& text) {
    if (text.empty() || text.size() > 9) return false;
    for (char c : text)
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    return true;
}
}  // namespace

std::optional<SerialSettings> ParseSerialSettings(const std::string& text) {
    std::vector<std::string> fields;
    std::stringstream stream(text);
    std::string field;
    while (std::getline(stream, field, ',')) fields.push_back(Stripped(field));
    if (fields.size() != 4) return std::nullopt;

    SerialSettings settings;
    if (!AllDigits(fields[0])) return std::nullopt;
    settings.baud = std::stoi(fields[0]);
    if (settings.baud < 50) return std::nullopt;

    if (fields[1].size() != 1) return std::nullopt;
    char parity = static_cast<char>(std::toupper(static_cast<unsigned char>(fields[1][0])));
    if (std::string("NEOMS").find(parity) == std::string::npos) return std::nullopt;
    settings.parity = parity;

    if (!AllDigits(fields[2])) return std::nullopt;
    settings.dataBits = std::stoi(fields[2]);
    if (settings.dataBits < 4 || settings.dataBits > 8) return std::nullopt;

    if (fields[3] == "1") settings.stopBits = 1;
    else if (fields[3] == "1.5") settings.stopBits = 1.5;
    else if (fields[3] == "2") settings.stopBits = 2;
    else return std::nullopt;
    return settings;
}

}  // namespace movra
