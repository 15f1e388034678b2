// SPDX-License-Identifier: MIT
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
inline std::string_view TrimView(std::string_view s) {
  size_t begin = 0;
  size_t end = s.size();
  while (begin < end && IsTrimChar(s[begin])) ++begin;
  while (end > begin && IsTrimChar(s[end - 1])) --end;
  return s.substr(begin, end - begin);
}
inline std::string Trim(std::string_view s) { return std::string(TrimView(s)); }

// Trims, in place and without allocating, the part of s from position `from` on; s is a
// std::string or a text buffer.
template <class Text>
void TrimFrom(Text& s, size_t from) {
  size_t end = s.size();
  if (end == from || (!IsTrimChar(s[from]) && !IsTrimChar(s[end - 1]))) return;  // the usual case
  while (end > from && IsTrimChar(s[end - 1])) --end;
  s.resize(end);
  size_t first = from;
  while (first < end && IsTrimChar(s[first])) ++first;
  if (first > from) s.erase(from, first - from);
}

// True when the text holds only characters of codes 0 to 32 (or nothing).
inline bool IsBlank(std::string_view s) {
  for (char c : s)
    if (!IsTrimChar(c)) return false;
  return true;
}

// Splits text into lines at CR, LF or CR LF. A last line without a line break is a line; a line
// break at the very end adds no empty line. Bytes are kept as they are.
std::vector<std::string> SplitLines(std::string_view text);

// Equality with ASCII letters compared without regard to case; other bytes compare exactly.
bool SameTextAscii(std::string_view a, std::string_view b);

}  // namespace kelvast
