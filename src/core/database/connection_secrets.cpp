// SPDX-License-Identifier: MIT
#include "core/database/connection_secrets.h"

#include <algorithm>
#include <vector>

#include "core/database/connection_string.h"
#include "core/platform/text_utils.h"

namespace kelvast {

namespace {

// psqlODBC passes this attribute's value to libpq as its own "keyword=value ..." options.
constexpr std::string_view kLibpqOptionsKey = "pqopt";

bool IsLibpqOptions(std::string_view key) { return SameTextAscii(key, kLibpqOptionsKey); }

// One "keyword=value" of libpq's options: where the value starts and ends in the text.
struct TLibpqOption {
  std::string_view Keyword;
  size_t ValueFrom = 0;
  size_t ValueTo = 0;
};

// The options as libpq reads them: blank-separated; a value may be single-quoted, with "\"
// escaping the next character.
std::vector<TLibpqOption> LibpqOptions(std::string_view text) {
  std::vector<TLibpqOption> options;
  size_t at = 0;
  const auto blank = [&](size_t i) { return i < text.size() && IsTrimChar(text[i]); };
  while (at < text.size()) {
    while (blank(at)) ++at;
    const size_t keyFrom = at;
    while (at < text.size() && text[at] != '=' && !IsTrimChar(text[at])) ++at;
    TLibpqOption option{text.substr(keyFrom, at - keyFrom)};
    while (blank(at)) ++at;
    if (at >= text.size() || text[at] != '=') {
      if (!option.Keyword.empty()) options.push_back(option);
      continue;
    }
    ++at;
    while (blank(at)) ++at;
    option.ValueFrom = at;
    if (at < text.size() && text[at] == '\'') {
      for (++at; at < text.size() && text[at] != '\''; ++at)
        if (text[at] == '\\') ++at;
      at = std::min(at + 1, text.size());
    } else {
      for (; at < text.size() && !IsTrimChar(text[at]); ++at)
        if (text[at] == '\\') ++at;
      at = std::min(at, text.size());
    }
    option.ValueTo = at;
    options.push_back(option);
  }
  return options;
}

bool IsLibpqPassword(const TLibpqOption& option) {
  return SameTextAscii(option.Keyword, "password") && option.ValueTo > option.ValueFrom;
}

// libpq's options with the password's value replaced (or, with an empty replacement, the whole
// option left out).
std::string ReplaceLibpqPassword(std::string_view text, bool drop) {
  std::string out;
  size_t copied = 0;
  for (const TLibpqOption& option : LibpqOptions(text)) {
    if (!IsLibpqPassword(option)) continue;
    if (drop) {
      const size_t from = static_cast<size_t>(option.Keyword.data() - text.data());
      out.append(text.substr(copied, from - copied));
    } else {
      out.append(text.substr(copied, option.ValueFrom - copied));
      out.append(kMaskedPassword);
    }
    copied = option.ValueTo;
  }
  out.append(text.substr(copied));
  return drop ? Trim(out) : out;
}

bool AttributeHoldsPassword(const TConnectionAttribute& a) {
  if (IsPasswordKey(a.Key)) return !a.Value.empty();
  if (!IsLibpqOptions(a.Key)) return false;
  for (const TLibpqOption& option : LibpqOptions(a.Value))
    if (IsLibpqPassword(option)) return true;
  return false;
}

// The string with each password masked or left out, everything else as it was written. A
// masked attribute keeps its key as written; one left out goes with a ";" beside it.
std::string Rewrite(std::string_view connection, bool drop) {
  std::vector<TAttributeSpan> spans;
  const std::vector<TConnectionAttribute> attributes = SplitConnectionString(connection, &spans);
  std::string out(connection);
  // From the last attribute to the first, so that the spans before stay where they are.
  for (size_t i = attributes.size(); i-- > 0;) {
    const TConnectionAttribute& a = attributes[i];
    if (!AttributeHoldsPassword(a)) continue;
    const TAttributeSpan span = spans[i];
    std::string value;
    if (!IsPasswordKey(a.Key))
      value = ReplaceLibpqPassword(a.Value, drop);
    else if (!drop)
      value = kMaskedPassword;
    if (value.empty()) {
      size_t from = span.From;
      size_t to = span.To;
      if (to < out.size())
        ++to;
      else if (from > 0)
        --from;
      out.erase(from, to - from);
      continue;
    }
    const size_t equals = connection.find('=', span.From);
    out.replace(equals + 1, span.To - equals - 1, QuoteConnectionValue(value));
  }
  return out;
}

}  // namespace

bool IsPasswordKey(std::string_view key) {
  return SameTextAscii(key, "PWD") || SameTextAscii(key, "Password");
}

bool HoldsPassword(std::string_view connection) {
  for (const TConnectionAttribute& a : SplitConnectionString(connection))
    if (AttributeHoldsPassword(a)) return true;
  return false;
}

std::string MaskPassword(std::string_view connection) {
  if (!HoldsPassword(connection)) return std::string(connection);
  return Rewrite(connection, /*drop=*/false);
}

std::string StripPassword(std::string_view connection) {
  if (!HoldsPassword(connection)) return std::string(connection);
  return Rewrite(connection, /*drop=*/true);
}

TFileAccess FileAccessFor(std::string_view connection) {
  return HoldsPassword(connection) ? TFileAccess::Private : TFileAccess::Usual;
}

}  // namespace kelvast
