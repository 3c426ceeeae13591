#pragma once
// NMEA 0183 position sentences from a GPS receiver: the recommended minimum sentence (RMC) of the
// GPS, GNSS and BeiDou talkers ("$GPRMC", "$GNRMC", "$BDRMC", "$GBRMC"), as they arrive on a serial
// line in pieces. The position is taken from RMC alone: a multi-GNSS receiver sends its GGA with
// fewer decimals, and taking both would make the position jump between them every second.
#include <cstddef>
#include <optional>
#include <string>

namespace movra {

// A position as the receiver sends it (ddmm.mmmm and dddmm.mmmm), south and west negative.
struct NmeaFix {
    double latitude = 0;
    double longitude = 0;
    std::string time;  // UTC hhmmss.sss
    double speed = 0;  // knots over ground
    double course = 0; // degrees over ground
};

// What is kept of text without a sentence start, so that noise never fills the memory.
constexpr std::size_t NmeaBufferLimit = 4096;

// Takes every complete sentence from the buffer: a sentence is complete once its "*hh" checksum
// or its line end has arrived. A sentence with a wrong checksum, a void status, or a position that
// is no number is dropped, and so is every sentence but RMC. What follows the last complete sentence stays in the
// buffer (at most its last NmeaBufferLimit characters). Returns the last valid fix taken.
std::optional<NmeaFix> TakeNmeaFix(std::string& buffer);

// ddmm.mmmm as decimal degrees: whole degrees plus the minutes / 60, the sign kept.
double NmeaToDegrees(double packed);

}  // namespace movra
