#pragma once
#include <cstdint>
#include <string>

namespace movra {

struct App;

// Looks through layers 1..65 for the first point (type 50) or named point (type 44) called `name`
// (letter case ignored) and copies its X, Y and height into `row` of the station arrays.
// False, with nothing changed, when there is none or on any error.
bool FindPointByName(App& app, const std::string& name, std::uint8_t row);

}  // namespace movra
