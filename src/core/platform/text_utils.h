#pragma once
// Small text helpers shared by every layer: trimming, blank tests, line splitting, ASCII
// case-insensitive comparison.

#include <string>
#include <string_view>
#include <vector>

namespace kelvast {

// True for the characters that trimming removes: codes 0 to 32.
constexpr bool IsTrimChar(char c) { return static_cast<unsigned char>(c) <= 32; }

// The text without leading and trailing characters of codes 0 to 32.
std::string_view TrimView(std::string_view s);
inline std::string Trim(std::string_view s) { return std::string(TrimView(s)); }

// True when the text holds only characters of codes 0 to 32 (or nothing).
bool IsBlank(std::string_view s);

// Splits text into lines at CR, LF or CR LF. A last line without a line break is a line; a line
// break at the very end adds no empty line. Bytes are kept as they are.
std::vector<std::string> SplitLines(std::string_view text);

// Equality with ASCII letters compared without regard to case; other bytes compare exactly.
bool SameTextAscii(std::string_view a, std::string_view b);

}  // namespace kelvast
