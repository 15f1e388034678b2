// SPDX-License-Identifier: MIT
#pragma once
// Table and column names in SQL text. A name sits between an opening and a closing character;
// when the closing character is one that SQL quotes names or texts with (" ] ' `), each of its
// occurrences inside the name is doubled, so the name can never end early and let the rest of
// it run as SQL. Other closing characters (the blanks of an unusable delimiter) stay as they are.
//
//   QuoteName("t\" x", '"', '"')   // "t"" x"

#include <string>
#include <string_view>

namespace kelvast {

inline bool IsQuotingChar(char c) { return c == '"' || c == ']' || c == '\'' || c == '`'; }

inline void AppendQuotedName(std::string& out, std::string_view name, char open, char close) {
  out += open;
  if (IsQuotingChar(close)) {
    for (char c : name) {
      if (c == close) out += c;
      out += c;
    }
  } else {
    out += name;
  }
  out += close;
}

inline std::string QuoteName(std::string_view name, char open, char close) {
  std::string out;
  AppendQuotedName(out, name, open, close);
  return out;
}

}  // namespace kelvast
