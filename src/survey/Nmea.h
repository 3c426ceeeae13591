#pragma once
// NMEA 0183 position sentences from a GPS receiver: the recommended minimum sentence (RMC) and
// the fix sentence (GGA) of the GPS, GNSS, BeiDou talkers ("$GPRMC", "$GNRMC", "$BDRMC", "$GBRMC",
// and their GGA), as they arrive on a serial line in pieces.
#include <cstddef>
#include <optional>
#include <string>

namespace movra {

// A position as the receiver sends it (ddmm.mmmm and dddmm.mmmm), south and west negative.
struct NmeaFix {
    double latitude = 0;
    double longitude = 0;
    std::string time;  // UTC hhmmss.sss
    double speed = 0;  // knots over ground (RMC)
    double course = 0; // degrees over ground (RMC)
};

// What is kept of text without a sentence start, so that noise never fills the memory.
constexpr std::size_t NmeaBufferLimit = 4096;

// Takes every complete sentence from the buffer: a sentence is complete once its "*hh" checksum
// or its line end has arrived. A sentence with a wrong checksum, a void status or fix quality, or
// a position that is no number is dropped. What follows the last complete sentence stays in the
// buffer (at most its last NmeaBufferLimit characters). Returns the last valid fix taken.
std::optional<NmeaFix> TakeNmeaFix(std::string& buffer);

// ddmm.mmmm as decimal degrees: whole degrees plus the minutes / 60, the sign kept.
double NmeaToDegrees(double packed);

}  // namespace movra
