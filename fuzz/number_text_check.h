#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace ao07::fuzz {

/// Checks DecodedText(value) against an independent integer computation of the same rule
/// (seven significant digits, then three decimals, halves away from zero) and its shape:
/// an optional "-", digits, ".", three digits; never an exponent or a comma. Returns "" or
/// what went wrong.
std::string CheckDecodedText(float value);

/// Checks LeadingNumber(text): never NaN; blanks, tabs and line feeds anywhere change nothing;
/// the value equals the C library's reading of the same number; RoundHalfEven of it is the
/// nearest integer with ties to even. Returns "" or what went wrong.
std::string CheckLeadingNumber(std::string_view text);

/// Both checks on one fuzz input: the first four bytes as a float's bits, the whole as text.
std::string CheckNumberText(const std::uint8_t* data, std::size_t size);

}  // namespace ao07::fuzz
