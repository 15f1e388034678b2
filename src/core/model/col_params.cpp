// SPDX-License-Identifier: MIT
#include "core/model/col_params.h"

#include <stdexcept>

#include <array>
#include <bit>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "core/platform/code_page.h"
#include "core/platform/errors.h"
#include "core/platform/file_io.h"
#include "core/platform/random.h"
#include "core/platform/text_utils.h"

namespace kelvast {

const TPropList& TColParams::BaseProps() {
  using C = TColParams;
  static const TPropList kProps{{
      BoolProp<C>("UseExternalFile", &C::UseExternalFile, &C::SetUseExternalFile),
      TextProp<C>("ExternalFile", &C::ExternalFile, &C::SetExternalFile),
      BoolProp<C>("AllowNull", &C::AllowNull, &C::SetAllowNull),
      IntProp<C>("NullPercent", &C::NullPercent, &C::SetNullPercent),
      BoolProp<C>("Stealth", &C::Stealth, &C::SetStealth),
      TextProp<C>("LastValue", &C::LastValue, &C::SetLastValue),
      BoolProp<C>("Modified", &C::Modified, &C::SetModified),
      EnumProp<C, TGenCase>("DataCase", kGenCaseIdents, &C::DataCase, &C::SetDataCase),
      // Left out while 0, so models without unique keys are stored as before.
      IntProp<C>("Unique", &C::Unique, &C::SetUnique, 0),
  }};
  return kProps;
}

TPaddedView TColParams::GenerateValue() {
  if (!IsBlank(FLastValue)) return FLastValue.View();

  FLastValue.clear();
  if (FUniqueActive) {
    AppendUniqueValue(FLastValue, FUniqueIndex);
    if (FDataCase != gcNoChange) ApplyCase(FLastValue, FDataCase);
    return FLastValue.View();
  }
  if (FUseExternalFile && !FExternalLines.empty()) {
    const std::string& line = FExternalLines[Random(static_cast<int32_t>(FExternalLines.size()))];
    FLastValue.assign(TrimView(line));
  } else {
    DoGenerate(FLastValue);
  }
  // r is uniform over 0..99, so exactly NullPercent draws in a hundred are NULL: 0 never, 100
  // always.
  if (FAllowNull && FNullPercent > Random(100)) FLastValue.clear();
  if (FDataCase != gcNoChange) ApplyCase(FLastValue, FDataCase);
  return FLastValue.View();
}

std::string_view TColParams::LastInternalValue() { return GetValue(); }

void TColParams::AppendUniqueValue(TTextBuffer& out, TUniqueCount) { DoGenerate(out); }

std::string ReadDelimiter(const std::string& stored) {
  return TrimView(stored).size() == 2 ? stored : std::string("  ");
}

void TColParams::ModelDelimiterChanged(bool, const std::string&) {}

TColParams& TColParams::PartAt(int) const { throw std::out_of_range("TColParams::PartAt"); }

void TColParams::Prepare(const TGenContext& context) {
  FContext = context;
  // The model's unique keys switch it on again after every generator is prepared.
  FUniqueActive = false;
  if (!FUseExternalFile) return;
  // A value file that is missing or unreadable ends the run before its first record: values
  // made up in its place would pass for the file's.
  try {
    FExternalLines = SplitLines(ReadWholeFile(FExternalFile, kMaxListBytes));
  } catch (const EFileError& e) {
    throw EFileError("The value file \"" + FExternalFile + "\" cannot be read. " + e.what());
  }
}

void TColParams::Changed() {
  FModified = true;
  if (OnChange) OnChange(*this);
}

void TColParams::Assign(const TColParams& source) {
  FUseExternalFile = source.FUseExternalFile;
  FExternalFile = source.FExternalFile;
  FExternalLines = source.FExternalLines;
  FFrench = source.FFrench;
  FDataLength = source.FDataLength;
  FAllowNull = source.FAllowNull;
  FNullPercent = source.FNullPercent;
  FStealth = source.FStealth;
  FUnique = source.FUnique;
}

void ApplyCase(TTextBuffer& s, TGenCase c) {
  if (c == gcRandom) c = static_cast<TGenCase>(Random(4));
  switch (c) {
    case gcUpper:
      AnsiUpperInPlace(s);
      break;
    case gcLower:
      AnsiLowerInPlace(s);
      break;
    case gcProper:
      AnsiLowerInPlace(s);
      if (!s.empty() && s[0] >= 'a' && s[0] <= 'z') s[0] = static_cast<char>(s[0] - 32);
      break;
    case gcNoChange:
    case gcRandom:
      break;
  }
}

namespace {
void ProperCaseChars(char* p, size_t n) {
  // Unlike the gcProper transform, the first character is never lower-cased.
  if (n == 0) return;
  AnsiLowerInPlace(p + 1, n - 1);
  if (p[0] >= 'a' && p[0] <= 'z') p[0] = static_cast<char>(p[0] - 32);
}
}  // namespace

void ProperCaseInPlace(TTextBuffer& s, size_t from) {
  if (from < s.size()) ProperCaseChars(s.data() + from, s.size() - from);
}

void ProperCaseInPlace(std::string& s, size_t from) {
  if (from < s.size()) ProperCaseChars(s.data() + from, s.size() - from);
}

std::string ProperCase(std::string_view s) {
  std::string out(s);
  ProperCaseInPlace(out);
  return out;
}

namespace {
// Each byte's identifier-safe form.
constexpr auto kSafe = [] {
  std::array<char, 256> t{};
  for (int c = 0; c < 256; ++c) {
    const bool keep = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    t[static_cast<size_t>(c)] = keep ? static_cast<char>(c) : '_';
  }
  return t;
}();

// Names are mostly letters already: eight bytes at a time are checked and left alone when every
// one is an ASCII letter or digit (bytes below 0x80 make the sums carry into no neighbour; a
// byte's high bit then says whether it reached a range's start or passed its end).
constexpr uint64_t kOnes = 0x0101010101010101ULL;
constexpr uint64_t kHigh = 0x8080808080808080ULL;
constexpr uint64_t InRange(uint64_t w, unsigned first, unsigned last) {
  return (w + kOnes * (0x80 - first)) & ~(w + kOnes * (0x7F - last));
}
constexpr bool AllSafe(uint64_t w) {
  return (w & kHigh) == 0 &&
         ((InRange(w, '0', '9') | InRange(w, 'A', 'Z') | InRange(w, 'a', 'z')) & kHigh) == kHigh;
}
// The low k bytes of a word (k clamped to 0..8), the first k bytes of text in memory.
static_assert(std::endian::native == std::endian::little);
constexpr uint64_t LowBytes(ptrdiff_t k) {
  return k <= 0 ? 0 : k >= 8 ? ~uint64_t{0} : ~uint64_t{0} >> (64 - 8 * k);
}

void IdentifierSafeChars(char* p, char* const end) {
  for (; end - p >= 8; p += 8) {
    uint64_t w;
    std::memcpy(&w, p, 8);
    if (AllSafe(w)) continue;
    for (int i = 0; i < 8; ++i) p[i] = kSafe[static_cast<unsigned char>(p[i])];
  }
  for (; p < end; ++p) *p = kSafe[static_cast<unsigned char>(*p)];
}
}  // namespace

void IdentifierSafeInPlace(std::string& s, size_t from) {
  if (from < s.size()) IdentifierSafeChars(s.data() + from, s.data() + s.size());
}

void AppendIdentifierSafe(TTextBuffer& out, std::string_view s) {
  const auto n = static_cast<ptrdiff_t>(s.size());
  char* at = out.Extend(s.size());
  if (n <= 16) {
    // Both texts lie in buffers with padding: a name is checked and copied as two words, the
    // bytes past it taken as letters, when all of it is already safe.
    uint64_t a, b;
    std::memcpy(&a, s.data(), 8);
    std::memcpy(&b, s.data() + 8, 8);
    const uint64_t keepA = LowBytes(n), keepB = LowBytes(n - 8);
    a = (a & keepA) | (kOnes * 'a' & ~keepA);
    b = (b & keepB) | (kOnes * 'a' & ~keepB);
    if (AllSafe(a) && AllSafe(b)) {
      std::memcpy(at, &a, 8);
      std::memcpy(at + 8, &b, 8);
      return;
    }
  }
  for (const char c : s) *at++ = kSafe[static_cast<unsigned char>(c)];
}

std::string IdentifierSafe(std::string_view s) {
  std::string out(s);
  IdentifierSafeInPlace(out);
  return out;
}

}  // namespace kelvast
