// SPDX-License-Identifier: MIT
#pragma once
// The single-byte code page in which all text is held in memory: Windows-1252. Conversion to
// Unicode happens only at the edges (files that store Unicode, Qt, ODBC, JSON).

#include <string>
#include <string_view>

#include "core/platform/text_buffer.h"

namespace kelvast {

// The number of the single-byte code page, as written in XML declarations ("windows-1252").
constexpr int AnsiCodePage() { return 1252; }

// The Unicode character of a byte. The five bytes Windows-1252 leaves undefined (0x81, 0x8D,
// 0x8F, 0x90, 0x9D) map to the C1 control of the same code, so every byte survives a round trip.
char16_t AnsiToWideChar(unsigned char c);

// The byte of a Unicode character; false when the code page cannot hold it.
bool WideCharToAnsi(char32_t c, char& out);

std::u16string AnsiToUtf16(std::string_view ansi);
std::string AnsiToUtf8(std::string_view ansi);

// Conversions into the code page. Characters it cannot hold (and malformed input) become '?';
// the result tells whether the conversion was exact.
bool Utf16ToAnsi(std::u16string_view utf16, std::string& out);
bool Utf8ToAnsi(std::string_view utf8, std::string& out);

// Case mapping of every letter of the code page, accented ones included, as an English or
// Western European user locale maps them (é <-> É, š <-> Š, ÿ <-> Ÿ; ß and µ have no
// single-byte capital and stay).
char AnsiUpperChar(char c);
char AnsiLowerChar(char c);
void AnsiUpperInPlace(std::string& s);
void AnsiLowerInPlace(std::string& s);
void AnsiLowerInPlace(char* p, size_t n);
// The buffer forms may overwrite the buffer's unused room.
void AnsiUpperInPlace(TTextBuffer& s);
void AnsiLowerInPlace(TTextBuffer& s);
std::string AnsiUpperCase(std::string_view s);
std::string AnsiLowerCase(std::string_view s);

// Equality of two texts without regard to case under the locale rules above.
bool SameTextAnsi(std::string_view a, std::string_view b);

}  // namespace kelvast
