// SPDX-License-Identifier: MIT
#pragma once
// Dictionary generators: words, filler text, cities, postal addresses, countries and US states
// drawn from the reference word lists.

#include <cstdint>
#include <string>
#include <vector>

#include "core/generators/charset.h"
#include "core/generators/prepared_list.h"
#include "core/generators/word_lists.h"
#include "core/model/col_params.h"
#include "core/platform/packed_texts.h"

namespace kelvast {

// A word of the English (or French) list; with DataLength 5 or more, at most that long.
// Draws dictionary words. With a length of 5 or more only the entries that fit it are drawn
// from, uniformly. What one draw can give is prepared once per list, length and load of the
// lists (trimmed, the marker for a blank entry, and passed through the optional transform), so a
// value costs one draw and one copy.
class TWordDraw {
 public:
  // Identifier-safe words (every character other than 0-9, A-Z, a-z becomes "_") for domains.
  explicit TWordDraw(bool identifierSafe = false) : FIdentifierSafe(identifierSafe) {}

  // Appends one entry of list, or "<nodata>" (cut to length) when none fits.
  void Append(TTextBuffer& out, const TWordLists& words, TWordList list, int32_t length);

 private:
  bool FIdentifierSafe;
  TPreparedList FValues;   // each equally likely
  int32_t FFixedLength = -1;
  std::string FFixed;      // the value, without a draw, when no entry fits FFixedLength
};

class TCPDictWord : public TColParams {
 public:
  TCPDictWord() = default;
  std::string_view ClassName() const override { return "TCPDictWord"; }
  const TPropList& Props() const override;

 protected:
  void DoGenerate(TTextBuffer& out) override;

 private:
  TWordDraw FDraw;
};

// Filler text: a prefix of the lorem text ending with a point, or random characters.
class TCPMemo : public TColParams {
 public:
  TCPMemo() { InitDataLength(100); }
  std::string_view ClassName() const override { return "TCPMemo"; }
  const TPropList& Props() const override;

  bool LoremIpsum() const { return FLoremIpsum; }
  void SetLoremIpsum(bool v) { SetProp(FLoremIpsum, v); }
  bool RandomizeLength() const { return FRandomizeLength; }
  void SetRandomizeLength(bool v) { SetProp(FRandomizeLength, v); }

  void Assign(const TColParams& source) override;

 protected:
  void DoGenerate(TTextBuffer& out) override;

 private:
  bool FLoremIpsum = false;
  TAlphabet FAlphabet;
  bool FRandomizeLength = false;
};

// A town of the world (or of France), proper-cased.
class TCPTown : public TColParams {
 public:
  TCPTown() = default;
  std::string_view ClassName() const override { return "TCPTown"; }
  const TPropList& Props() const override;

 protected:
  void DoGenerate(TTextBuffer& out) override;

 private:
  // Every entry of the list in use, proper-cased and trimmed, prepared once per list and load:
  // a value is then one draw and one copy.
  TPreparedList FTowns;
};

// A street address in English or French form.
class TCPAddress : public TColParams {
 public:
  TCPAddress() = default;
  std::string_view ClassName() const override { return "TCPAddress"; }
  const TPropList& Props() const override;

 protected:
  void DoGenerate(TTextBuffer& out) override;

 private:
  void GenerateEnglish(TTextBuffer& out);
  void GenerateFrench(TTextBuffer& out);

  TPreparedList FTowns;   // English: world towns; French: French towns
  TPreparedList FWords;   // French words
  TPreparedList FNames;   // boys' names, for the streets named after a rank
};

// A country name in English or French, or its ISO code.
class TCPCountry : public TColParams {
 public:
  TCPCountry() = default;
  std::string_view ClassName() const override { return "TCPCountry"; }
  const TPropList& Props() const override;

  bool JustCode() const { return FJustCode; }
  void SetJustCode(bool v) { SetProp(FJustCode, v); }

  void Assign(const TColParams& source) override;

 protected:
  void DoGenerate(TTextBuffer& out) override;

 private:
  bool FJustCode = false;
  TPreparedList FCountries;
};

// A US state name, or its two-letter code.
class TCPUSStates : public TColParams {
 public:
  TCPUSStates() = default;
  std::string_view ClassName() const override { return "TCPUSStates"; }
  const TPropList& Props() const override;

  bool ShortName() const { return FShortName; }
  void SetShortName(bool v) { SetProp(FShortName, v); }

  void Assign(const TColParams& source) override;

 protected:
  void DoGenerate(TTextBuffer& out) override;

 private:
  bool FShortName = false;
  TPreparedList FStates;
};

// The value of a dictionary word drawn from an empty list, and of the other list generators.
inline constexpr std::string_view kNoDataMarker = "<nodata>";
inline constexpr std::string_view kEmptyDataMarker = "<empty data>";

}  // namespace kelvast
