// SPDX-License-Identifier: MIT
#include "core/generators/string_gens.h"

#include <algorithm>
#include <array>
#include <cstdlib>

#include "core/generators/unique_values.h"
#include "core/platform/random.h"
#include "core/platform/text_utils.h"

namespace kelvast {

// ---- TCPString ----

TCPString::TCPString() : FCharset(TCharSet::Range('A', 'Z') + TCharSet::Range('a', 'z')) {
  InitDataLength(1);
}

const TPropList& TCPString::Props() const {
  using C = TCPString;
  static const TPropList kProps = TPropList::Extend(
      BaseProps(), {
                       IntProp<C>("DataLength", &C::DataLength, &C::SetDataLength),
                       IntProp<C>("MinSize", &C::MinSize, &C::SetMinSize),
                       TextProp<C>("EXCharset", &C::CharsetText, &C::SetCharsetText,
                                   TPropKind::Charset),
                   });
  return kProps;
}

void TCPString::Assign(const TColParams& source) {
  TColParams::Assign(source);
  if (auto* s = dynamic_cast<const TCPString*>(&source)) {
    FCharset = s->FCharset;
    FMinSize = s->FMinSize;
  }
}

void TCPString::Lengths(int64_t& low, int64_t& high) const {
  // The two bounds taken as magnitudes, in whichever order they come, so a minimum above the
  // length or a negative bound neither fails nor loops.
  low = std::llabs(static_cast<int64_t>(FMinSize));
  high = std::llabs(static_cast<int64_t>(DataLength()));
  if (low > high) std::swap(low, high);
}

TUniqueSpace TCPString::UniqueSpace() const {
  FUniqueChars = UniqueAlphabet(CharSetAlphabet(FCharset), DataCase());
  int64_t low, high;
  UniqueLengths(low, high);
  return {true, TextSpaceSize(FUniqueChars.size(), low, high), false, {}};
}

void TCPString::UniqueLengths(int64_t& low, int64_t& high) const {
  // The empty text would be written as NULL; lengths are 16-bit, as the random draws take them.
  Lengths(low, high);
  low = std::max<int64_t>(low, 1);
  high = std::min<int64_t>(high, UINT16_MAX);
}

void TCPString::AppendUniqueValue(TTextBuffer& out, TUniqueCount index) {
  int64_t low, high;
  UniqueLengths(low, high);
  AppendIndexedText(out, FUniqueChars, low, high, index);
}

void TCPString::DoGenerate(TTextBuffer& out) {
  // The length is uniform over the two bounds.
  int64_t low, high;
  Lengths(low, high);
  const int64_t span = high - low + 1;
  const int64_t length = low + (span > INT32_MAX ? Random(INT32_MAX) : Random(static_cast<int32_t>(span)));
  AppendRandomCharString(out, FAlphabet, FCharset, static_cast<uint16_t>(length));
}

// ---- TCPFormatted ----

const TPropList& TCPFormatted::Props() const {
  using C = TCPFormatted;
  static const TPropList kProps = TPropList::Extend(
      BaseProps(), {
                       TextProp<C>("Mask", &C::Mask, &C::SetMask),
                       EnumProp<C, TExportType>("ExportType", kExportTypeIdents, &C::ExportType,
                                                &C::SetExportType),
                   });
  return kProps;
}

int TCPFormatted::NumberDigits() const {
  for (char c : FMask)
    if (c < '0' || c > '9') return 0;
  return static_cast<int>(FMask.size());
}

void TCPFormatted::Assign(const TColParams& source) {
  TColParams::Assign(source);
  if (auto* s = dynamic_cast<const TCPFormatted*>(&source)) FMask = s->FMask;
}

void TCPFormatted::DoGenerate(TTextBuffer& out) {
  static constexpr char kLower[] = "abcdefghijklmnopqrstuvwxyz";
  static constexpr char kUpper[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
  static constexpr char kDigits[] = "0123456789";
  static constexpr char kLowerDigits[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  static constexpr char kUpperDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  const size_t start = out.size();
  out += FMask;
  TLocalRandom random;
  TSplitDraw draw(random);
  for (char *p = out.data() + start, *end = out.data() + out.size(); p != end; ++p) {
    char& c = *p;
    switch (c) {
      case 'a': c = kLower[draw.Below(26)]; break;
      case 'A': c = kUpper[draw.Below(26)]; break;
      case '0': c = kDigits[draw.Below(10)]; break;
      case 'z': c = kLowerDigits[draw.Below(36)]; break;
      case 'Z': c = kUpperDigits[draw.Below(36)]; break;
      case '?': c = static_cast<char>(33 + draw.Below(15)); break;
      default: break;
    }
  }
}

namespace {
// The characters a mask's placeholder stands for; empty for a character copied as it is.
std::string_view PlaceholderChars(char c) {
  switch (c) {
    case 'a': return "abcdefghijklmnopqrstuvwxyz";
    case 'A': return "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    case '0': return "0123456789";
    case 'z': return "abcdefghijklmnopqrstuvwxyz0123456789";
    case 'Z': return "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    case '?': return "!\"#$%&'()*+,-./";
    default: return {};
  }
}
}  // namespace

TUniqueSpace TCPFormatted::UniqueSpace() const {
  // A blank mask writes a blank value, which stands for NULL.
  if (IsBlank(FMask)) return {true, 0, false, {}};
  TUniqueCount size = 1;
  for (const char c : FMask)
    if (const std::string_view chars = PlaceholderChars(c); !chars.empty())
      size = SaturatingMul(size, chars.size());
  return {true, size, false, {}};
}

void TCPFormatted::AppendUniqueValue(TTextBuffer& out, TUniqueCount index) {
  // The last placeholder is the fastest digit; 64-bit division when the index fits.
  const size_t start = out.size();
  out += FMask;
  auto fill = [&](auto digits) {
    for (char *p = out.data() + out.size(), *first = out.data() + start; p != first;) {
      char& c = *--p;
      const std::string_view chars = PlaceholderChars(c);
      if (chars.empty()) continue;
      c = chars[static_cast<size_t>(digits % chars.size())];
      digits /= chars.size();
    }
  };
  if (index <= UINT64_MAX) fill(static_cast<uint64_t>(index));
  else fill(index);
}

// ---- TCPZip ----

TCPZip::TCPZip() { InitDataLength(2); }

const TPropList& TCPZip::Props() const {
  using C = TCPZip;
  static const TPropList kProps = TPropList::Extend(
      BaseProps(), {
                       BoolProp<C>("Numbers", &C::Numbers, &C::SetNumbers),
                       BoolProp<C>("Letters", &C::Letters, &C::SetLetters),
                       IntProp<C>("DataLength", &C::DataLength, &C::SetDataLength),
                       EnumProp<C, TExportType>("ExportType", kExportTypeIdents, &C::ExportType,
                                                &C::SetExportType),
                   });
  return kProps;
}

void TCPZip::Assign(const TColParams& source) {
  TColParams::Assign(source);
  if (auto* s = dynamic_cast<const TCPZip*>(&source)) {
    FLetters = s->FLetters;
    FNumbers = s->FNumbers;
  }
}

namespace {
// The alphabets of the four settings, built once; with neither box the fallback set's.
const std::string& ZipAlphabet(bool numbers, bool letters) {
  static const std::array<std::string, 4> kAlphabets = [] {
    const TCharSet digits = TCharSet::Range('0', '9');
    const TCharSet capitals = TCharSet::Range('A', 'Z');
    return std::array<std::string, 4>{CharSetAlphabet(TCharSet()), CharSetAlphabet(digits),
                                      CharSetAlphabet(capitals),
                                      CharSetAlphabet(digits + capitals)};
  }();
  return kAlphabets[(numbers ? 1 : 0) + (letters ? 2 : 0)];
}
}  // namespace

void TCPZip::DoGenerate(TTextBuffer& out) {
  AppendRandomChars(out, ZipAlphabet(FNumbers, FLetters), static_cast<uint16_t>(DataLength()));
}

TUniqueSpace TCPZip::UniqueSpace() const {
  FUniqueChars = UniqueAlphabet(ZipAlphabet(FNumbers, FLetters), DataCase());
  // A code of no characters would be written as NULL: such a space holds nothing.
  const int64_t length = static_cast<uint16_t>(DataLength());
  return {true, TextSpaceSize(FUniqueChars.size(), std::max<int64_t>(length, 1), length), false,
          {}};
}

void TCPZip::AppendUniqueValue(TTextBuffer& out, TUniqueCount index) {
  const int64_t length = static_cast<uint16_t>(DataLength());
  AppendIndexedText(out, FUniqueChars, length, length, index);
}

// ---- TCPConst ----

const TPropList& TCPConst::Props() const {
  using C = TCPConst;
  static const TPropList kProps = TPropList::Extend(
      BaseProps(), {
                       TextProp<C>("ConstValue", &C::ConstValue, &C::SetConstValue),
                       EnumProp<C, TExportType>("ExportType", kExportTypeIdents, &C::ExportType,
                                                &C::SetExportType),
                   });
  return kProps;
}

void TCPConst::Assign(const TColParams& source) {
  TColParams::Assign(source);
  if (auto* s = dynamic_cast<const TCPConst*>(&source)) FConstValue = s->FConstValue;
}

}  // namespace kelvast
