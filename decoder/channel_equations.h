#pragma once

#include <cstdint>
#include <stdexcept>

namespace ao07 {

/// A channel equation could not be evaluated: a 16-bit integer step overflowed, or a floating
/// step failed. No raw value that a log can carry (-9 to 99) causes it.
class ConversionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// The engineering value of channel 1..24 for raw value `raw`, computed exactly as its
/// calibration equation is written: 64-bit steps in the written order, 32-bit roundings where
/// the equation has them. Throws ConversionError.
float ConvertChannel(int channel, std::int16_t raw);

}  // namespace ao07
