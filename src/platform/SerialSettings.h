#pragma once
#include <optional>
#include <string>

namespace movra {

// The line settings of a serial port as instruments write them: "4800,N,8,1" (baud, parity
// N/E/O/M/S, data bits 4 to 8, stop bits 1, 1.5 or 2).
struct SerialSettings {
    int baud = 9600;
    char parity = 'N';
    int dataBits = 8;
    double stopBits = 1;
};

// Empty when the text is not a valid settings string.
std::optional<SerialSettings> ParseSerialSettings(const std::string& text);

// The error numbers and texts of the serial port.
constexpr int SerialErrorBadPort = 8002;
constexpr int SerialErrorPortOpen = 8005;
constexpr const char* SerialTextBadPort = "无效端口号";
constexpr const char* SerialTextPortOpen = "端口已打开";

}  // namespace movra
