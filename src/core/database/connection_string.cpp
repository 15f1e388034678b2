// SPDX-License-Identifier: MIT
#include "core/database/connection_string.h"

#include "core/platform/code_page.h"
#include "core/platform/text_utils.h"

namespace kelvast {

namespace {

// The attributes the builder shows as fields, in the order it writes them.
struct TField {
  const char* Key;
  std::string TConnectionParts::*Value;
};
constexpr TField kFields[] = {
    {"DRIVER", &TConnectionParts::Driver}, {"SERVER", &TConnectionParts::Server},
    {"PORT", &TConnectionParts::Port},     {"DATABASE", &TConnectionParts::Database},
    {"UID", &TConnectionParts::User},      {"PWD", &TConnectionParts::Password},
};

void Append(std::string& out, std::string_view key, const std::string& value) {
  if (!out.empty()) out += ';';
  out += key;
  out += '=';
  out += value;
}

}  // namespace

std::vector<TConnectionAttribute> SplitConnectionString(std::string_view text,
                                                        std::vector<TAttributeSpan>* spans) {
  std::vector<TConnectionAttribute> attributes;
  size_t pos = 0;
  while (pos < text.size()) {
    const size_t from = pos;
    TConnectionAttribute attribute;
    size_t end = pos;
    while (end < text.size() && text[end] != ';' && text[end] != '=')
      ++end;
    if (end < text.size() && text[end] == '=') {
      attribute.Key = Trim(text.substr(pos, end - pos));
      pos = end + 1;
      while (pos < text.size() && text[pos] == ' ')
        ++pos;
      if (pos < text.size() && text[pos] == '{') {
        // A braced value runs to the first "}" that is not doubled; what follows it up to the
        // next ";" is no part of it.
        for (++pos; pos < text.size(); ++pos) {
          if (text[pos] == '}') {
            if (pos + 1 < text.size() && text[pos + 1] == '}') {
              ++pos;
            } else {
              ++pos;
              break;
            }
          }
          attribute.Value += text[pos];
        }
        end = text.find(';', pos);
        if (end == std::string_view::npos) end = text.size();
      } else {
        end = text.find(';', pos);
        if (end == std::string_view::npos) end = text.size();
        attribute.Value = Trim(text.substr(pos, end - pos));
      }
    } else {
      attribute.Value = Trim(text.substr(pos, end - pos));
    }
    if (!attribute.Key.empty() || !attribute.Value.empty()) {
      attributes.push_back(attribute);
      if (spans) spans->push_back({from, end});
    }
    pos = end + 1;
  }
  return attributes;
}

std::string QuoteConnectionValue(std::string_view value) {
  const bool needed = value.find_first_of(";{}") != std::string_view::npos ||
                      (!value.empty() && (IsTrimChar(value.front()) || IsTrimChar(value.back())));
  if (!needed) return std::string(value);
  std::string out = "{";
  for (char c : value) {
    out += c;
    if (c == '}') out += '}';
  }
  out += '}';
  return out;
}

TConnectionParts ParseConnectionParts(std::string_view text) {
  TConnectionParts parts;
  const std::string_view trimmed = TrimView(text);
  if (!trimmed.empty() && trimmed.find('=') == std::string_view::npos) {
    parts.Database = std::string(trimmed);
    return parts;
  }
  std::vector<bool> seen(std::size(kFields), false);
  for (TConnectionAttribute& attribute : SplitConnectionString(trimmed)) {
    bool field = false;
    for (size_t i = 0; i < std::size(kFields); ++i) {
      if (!SameTextAscii(attribute.Key, kFields[i].Key)) continue;
      field = true;
      if (!seen[i]) parts.*kFields[i].Value = std::move(attribute.Value);
      seen[i] = true;
    }
    if (!field) parts.Others.push_back(std::move(attribute));
  }
  return parts;
}

std::string BuildConnectionString(const TConnectionParts& parts) {
  std::string out;
  for (const TField& field : kFields) {
    const std::string& value = parts.*field.Value;
    if (value.empty()) continue;
    // Braces around a driver's name are the usual form and harmless to every driver manager.
    const std::string quoted = QuoteConnectionValue(value);
    const bool isDriver = field.Value == &TConnectionParts::Driver;
    Append(out, field.Key, isDriver && quoted.front() != '{' ? "{" + value + "}" : quoted);
  }
  for (const TConnectionAttribute& other : parts.Others) {
    if (other.Key.empty()) continue;
    Append(out, other.Key, QuoteConnectionValue(other.Value));
  }
  return out;
}

}  // namespace kelvast
