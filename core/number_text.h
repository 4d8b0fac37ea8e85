#pragma once
// The one reader of numbers typed into fields or found in the program's
// files. Every variant takes finite numbers only: "nan", "inf" and a number
// too large for its type are no number at all, so a field or line holding
// one leaves its value as it was. The rules that really differ have a name
// each:
//   Leading...  blanks, the number, then anything: "12.5mm" is 12.5. A
//               field read with "%g" or "%d" as the Parts give it (the main
//               window's fields, the goto windows, zoom.ini).
//   Whole...    the same with nothing but blanks after the number: the
//               setup dialogs, which refuse "12.5mm" rather than guess.
//   Exact...    the text is the number, not even blanks: file formats.
// A decimal number is an optional sign, digits with an optional point (or a
// point and digits) and an optional exponent; hexadecimal floats and the
// words for infinity are no numbers here. Integers are decimal digits with
// an optional sign (none for the unsigned forms), in the type's range.
#include <cstdint>
#include <optional>
#include <string_view>

std::optional<float> LeadingFloat(std::wstring_view text);
std::optional<float> LeadingFloat(std::string_view text);
std::optional<double> LeadingDouble(std::wstring_view text);
std::optional<float> WholeFloat(std::wstring_view text);
std::optional<double> WholeDouble(std::wstring_view text);
std::optional<float> ExactFloat(std::string_view text);
std::optional<double> ExactDouble(std::string_view text);

std::optional<int32_t> LeadingInteger(std::wstring_view text);
std::optional<int32_t> WholeSigned(std::wstring_view text);
std::optional<uint32_t> WholeUnsigned(std::wstring_view text);
// Hexadecimal digits after blanks, anything after them ("%X").
std::optional<uint32_t> LeadingHex(std::wstring_view text);
// As LeadingInteger, with the magnitude held at limit instead of refused:
// a level field shows its largest level for any longer row of digits.
std::optional<int32_t> SaturatedLeadingInteger(std::wstring_view text, int32_t limit);
