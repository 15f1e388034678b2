#include "core/generators/dictionary_gens.h"

#include <algorithm>

#include "core/generators/charset.h"
#include "core/generators/word_lists.h"
#include "core/platform/decimal_digits.h"
#include "core/platform/random.h"
#include "core/platform/text_utils.h"

namespace kelvast {

namespace {

// The trimmed entry at a random index; false when the list is empty.
bool DrawEntry(const TWordLists& words, TWordList list, std::string_view& entry) {
  const std::vector<std::string>& lines = words.List(list);
  if (lines.empty()) return false;
  entry = TrimView(lines[static_cast<size_t>(Random(static_cast<int32_t>(lines.size())))]);
  return true;
}

void AppendProperCase(TTextBuffer& out, std::string_view s) {
  const size_t start = out.size();
  out += s;
  ProperCaseInPlace(out, start);
}

template <class C>
TPropInfo FrenchProp() {
  return BoolProp<C>("French", &C::French, &C::SetFrench);
}

}  // namespace

// ---- TCPDictWord ----

const TPropList& TCPDictWord::Props() const {
  using C = TCPDictWord;
  static const TPropList kProps = TPropList::Extend(
      BaseProps(), {IntProp<C>("DataLength", &C::DataLength, &C::SetDataLength), FrenchProp<C>()});
  return kProps;
}

void TWordDraw::Prepare(const TWordLists& words, TWordList list, int32_t length,
                        uint64_t generation) {
  FList = static_cast<int>(list);
  FLength = length;
  FGeneration = generation;
  FValues.clear();
  FAhead.Reset();
  std::string value;
  for (const std::string& line : words.List(list)) {
    const std::string_view entry = TrimView(line);
    value = entry.empty() ? kNoDataMarker : entry;
    // Drawing uniformly among the entries that fit gives the same distribution as drawing
    // again until one fits, and ends even when none fits.
    if (length >= 5 && value.size() > static_cast<size_t>(length)) continue;
    if (FTransform) FTransform(value);
    FValues.push_back(value);
  }
  FFixed = length < 5 ? kNoDataMarker : kNoDataMarker.substr(0, static_cast<size_t>(length));
  if (FTransform) FTransform(FFixed);
}

void TWordDraw::Append(TTextBuffer& out, const TWordLists& words, TWordList list,
                       int32_t length) {
  // Every length below 5 draws from the whole list: one preparation serves them all.
  if (length < 5) length = 0;
  const uint64_t generation = words.Generation();
  if (static_cast<int>(list) != FList || length != FLength || generation != FGeneration)
    Prepare(words, list, length, generation);
  if (FValues.empty()) out += FFixed;
  else FValues.AppendTo(out, FAhead.Next(FValues));
}

void TCPDictWord::DoGenerate(TTextBuffer& out) {
  FDraw.Append(out, WordsOf(Context()), French() ? TWordList::FrenchWords : TWordList::EnglishWords,
               DataLength());
}

// ---- TCPMemo ----

const TPropList& TCPMemo::Props() const {
  using C = TCPMemo;
  static const TPropList kProps = TPropList::Extend(
      BaseProps(), {
                       BoolProp<C>("LoremIpsum", &C::LoremIpsum, &C::SetLoremIpsum),
                       BoolProp<C>("RandomizeLength", &C::RandomizeLength, &C::SetRandomizeLength),
                       IntProp<C>("DataLength", &C::DataLength, &C::SetDataLength),
                   });
  return kProps;
}

void TCPMemo::Assign(const TColParams& source) {
  TColParams::Assign(source);
  if (auto* s = dynamic_cast<const TCPMemo*>(&source)) {
    FLoremIpsum = s->FLoremIpsum;
    FRandomizeLength = s->FRandomizeLength;
  }
}

void TCPMemo::DoGenerate(TTextBuffer& out) {
  const int32_t n = FRandomizeLength ? 1 + Random(DataLength()) : DataLength();
  if (FLoremIpsum) {
    const std::string& lorem = WordsOf(Context()).Lorem();
    // n <= 1 keeps nothing; written without n - 1 so that the smallest length cannot overflow.
    const size_t keep = n <= 1 ? 0 : std::min(lorem.size(), static_cast<size_t>(n - 1));
    out += TrimView(std::string_view(lorem).substr(0, keep));
    out += '.';
  } else {
    AppendRandomCharString(out, FAlphabet, TCharSet(), static_cast<uint16_t>(n));
  }
}

// ---- TCPTown ----

const TPropList& TCPTown::Props() const {
  static const TPropList kProps = TPropList::Extend(BaseProps(), {FrenchProp<TCPTown>()});
  return kProps;
}

const TPackedTexts& TCPTown::PreparedTowns(TWordList list) {
  const TWordLists& words = WordsOf(Context());
  const uint64_t generation = words.Generation();
  if (static_cast<int>(list) == FPreparedList && generation == FPreparedGeneration)
    return FPrepared;
  FPreparedList = static_cast<int>(list);
  FPreparedGeneration = generation;
  FPrepared.clear();
  FAhead.Reset();
  std::string town;
  for (const std::string& line : words.List(list)) {
    // Proper case comes before the trim, so an entry with leading blanks keeps a small letter.
    town = line;
    ProperCaseInPlace(town);
    TrimFrom(town, 0);
    FPrepared.push_back(town);
  }
  return FPrepared;
}

void TCPTown::DoGenerate(TTextBuffer& out) {
  const TPackedTexts& towns =
      PreparedTowns(French() ? TWordList::FrenchTowns : TWordList::WorldTowns);
  if (!towns.empty()) towns.AppendTo(out, FAhead.Next(towns));
  if (out.empty()) out += kEmptyDataMarker;
}

// ---- TCPAddress ----

const TPropList& TCPAddress::Props() const {
  static const TPropList kProps = TPropList::Extend(BaseProps(), {FrenchProp<TCPAddress>()});
  return kProps;
}

void TCPAddress::DoGenerate(TTextBuffer& out) {
  if (French()) GenerateFrench(out);
  else GenerateEnglish(out);
}

void TCPAddress::GenerateEnglish(TTextBuffer& out) {
  static constexpr std::string_view kSuffixes[] = {"road", "avenue", "park", "boulevard", "square"};
  AppendDecimal(out, 1 + Random(400));
  out += ' ';
  std::string_view town;
  if (DrawEntry(WordsOf(Context()), TWordList::WorldTowns, town)) {
    AppendProperCase(out, town);
    out += ' ';
  }
  out += kSuffixes[Random(5)];
}

void TCPAddress::GenerateFrench(TTextBuffer& out) {
  // Accented letters are Windows-1252 bytes: "allée" and "Général".
  static constexpr std::string_view kStreetTypes[] = {"rue",   "boulevard", "avenue",
                                                      "all\xE9" "e", "impasse", "route"};
  static constexpr std::string_view kRanks[] = {"Lieutenant", "G\xE9n\xE9ral", "Colonel"};
  const TWordLists& words = WordsOf(Context());
  const size_t start = out.size();
  AppendDecimal(out, 1 + Random(120));
  out += ' ';
  if (Random(100) < 3) out += "ter ";
  else if (Random(100) < 4) out += "bis ";
  out += kStreetTypes[Random(6)];
  out += ' ';
  std::string_view entry;
  if (Random(100) < 40 && DrawEntry(words, TWordList::FrenchTowns, entry)) {
    AppendProperCase(out, entry);
  } else if (Random(100) < 40 && DrawEntry(words, TWordList::FrenchWords, entry)) {
    AppendProperCase(out, entry);
  } else if (!words.List(TWordList::BoyNames).empty()) {
    out += "du ";
    out += kRanks[Random(3)];
    out += ' ';
    DrawEntry(words, TWordList::BoyNames, entry);
    AppendProperCase(out, entry);
  } else {
    out.resize(start);
    out += kEmptyDataMarker;
  }
}

// ---- TCPCountry ----

const TPropList& TCPCountry::Props() const {
  using C = TCPCountry;
  static const TPropList kProps = TPropList::Extend(
      BaseProps(), {BoolProp<C>("JustCode", &C::JustCode, &C::SetJustCode), FrenchProp<C>()});
  return kProps;
}

void TCPCountry::Assign(const TColParams& source) {
  TColParams::Assign(source);
  if (auto* s = dynamic_cast<const TCPCountry*>(&source)) FJustCode = s->FJustCode;
}

void TCPCountry::DoGenerate(TTextBuffer& out) {
  const TWordList list = FJustCode  ? TWordList::CountryCodes
                         : French() ? TWordList::FrenchCountryNames
                                    : TWordList::CountryNames;
  std::string_view entry;
  if (DrawEntry(WordsOf(Context()), list, entry)) out += entry;
  else out += kEmptyDataMarker;
}

// ---- TCPUSStates ----

const TPropList& TCPUSStates::Props() const {
  using C = TCPUSStates;
  static const TPropList kProps = TPropList::Extend(
      BaseProps(), {BoolProp<C>("ShortName", &C::ShortName, &C::SetShortName)});
  return kProps;
}

void TCPUSStates::Assign(const TColParams& source) {
  TColParams::Assign(source);
  if (auto* s = dynamic_cast<const TCPUSStates*>(&source)) FShortName = s->FShortName;
}

void TCPUSStates::DoGenerate(TTextBuffer& out) {
  std::string_view entry;
  if (DrawEntry(WordsOf(Context()), FShortName ? TWordList::USStateCodes : TWordList::USStateNames,
                entry))
    out += entry;
  else
    out += kEmptyDataMarker;
}

}  // namespace kelvast
