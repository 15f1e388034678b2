// SPDX-License-Identifier: MIT
#pragma once
// What a number column's value is when it is written bare into an INSERT statement, so that a
// path that binds values as parameters binds the number the statement would have stored, and
// the texts of the code page as the UTF-8 the drivers and the SQLite library take.

#include <cstdint>
#include <string>
#include <string_view>

namespace kelvast {

struct TNumberLiteral {
  enum TKind { Integer, Real, Other };
  TKind Kind = Other;
  int64_t IntegerValue = 0;
  double RealValue = 0;
};

// A signed integer literal within 64 bits is an Integer; any other numeric literal (a decimal
// point, an exponent, an integer too large for 64 bits) is a Real; anything else is Other, a
// text that only its statement can say what it stores.
TNumberLiteral ParseNumberLiteral(std::string_view text);

// The number of bytes the Windows-1252 text takes in UTF-8.
size_t Utf8Length(std::string_view ansi);
// Writes the Windows-1252 text as UTF-8 at `out`, which has room for Utf8Length(ansi) bytes;
// returns the end of what it wrote.
char* WriteAsUtf8(char* out, std::string_view ansi);
// Appends the Windows-1252 text as UTF-8.
void AppendAsUtf8(std::string& out, std::string_view ansi);

}  // namespace kelvast
