// SPDX-License-Identifier: MIT
#pragma once
// Character and pattern generators: random strings over a character set, masks, zip codes and
// constants.

#include <string>

#include "core/generators/charset.h"
#include "core/model/col_params.h"

namespace kelvast {

// A random text of MinSize to DataLength characters drawn from a character set.
class TCPString : public TColParams {
 public:
  TCPString();
  std::string_view ClassName() const override { return "TCPString"; }
  const TPropList& Props() const override;

  int32_t MinSize() const { return FMinSize; }
  void SetMinSize(int32_t v) { SetProp(FMinSize, v); }
  const TCharSet& Charset() const { return FCharset; }
  void SetCharset(const TCharSet& v) { SetProp(FCharset, v); }
  // The character set as stored: its members in code order.
  std::string CharsetText() const { return FCharset.ToText(); }
  // Empties the set, then includes every character of the text.
  void SetCharsetText(const std::string& members) { SetCharset(TCharSet::FromText(members)); }

  void Assign(const TColParams& source) override;
  // The texts of the length range over the set's characters that trimming keeps, the empty
  // text left out.
  TUniqueSpace UniqueSpace() const override;

 protected:
  void DoGenerate(TTextBuffer& out) override;
  void AppendUniqueValue(TTextBuffer& out, TUniqueCount index) override;

 private:
  // The shortest and longest lengths a value takes.
  void Lengths(int64_t& low, int64_t& high) const;
  // Those of unique values.
  void UniqueLengths(int64_t& low, int64_t& high) const;

  int32_t FMinSize = 1;
  TCharSet FCharset;
  TAlphabet FAlphabet;
  mutable std::string FUniqueChars;  // the unique space's alphabet, set by UniqueSpace
};

// A mask: a, A, 0, z, Z and ? are replaced by a random character of their class; every other
// character is copied.
class TCPFormatted : public TColParams {
 public:
  TCPFormatted() = default;
  std::string_view ClassName() const override { return "TCPFormatted"; }
  const TPropList& Props() const override;

  const std::string& Mask() const { return FMask; }
  void SetMask(const std::string& v) { SetProp(FMask, v); }
  // The digits of every value when the mask makes numbers only (digit placeholders and literal
  // digits), else 0.
  int NumberDigits() const;

  void Assign(const TColParams& source) override;
  // Every combination of the placeholders' characters.
  TUniqueSpace UniqueSpace() const override;

 protected:
  void DoGenerate(TTextBuffer& out) override;
  void AppendUniqueValue(TTextBuffer& out, TUniqueCount index) override;

 private:
  std::string FMask;
};

// A zip code of DataLength digits and/or capital letters.
class TCPZip : public TColParams {
 public:
  TCPZip();
  std::string_view ClassName() const override { return "TCPZip"; }
  const TPropList& Props() const override;

  bool Numbers() const { return FNumbers; }
  void SetNumbers(bool v) { SetProp(FNumbers, v); }
  bool Letters() const { return FLetters; }
  void SetLetters(bool v) { SetProp(FLetters, v); }

  void Assign(const TColParams& source) override;
  // Every code of DataLength characters that trimming keeps.
  TUniqueSpace UniqueSpace() const override;

 protected:
  void DoGenerate(TTextBuffer& out) override;
  void AppendUniqueValue(TTextBuffer& out, TUniqueCount index) override;

 private:
  bool FNumbers = true;
  bool FLetters = false;
  mutable std::string FUniqueChars;  // the unique space's alphabet, set by UniqueSpace
};

// The same text for every record.
class TCPConst : public TColParams {
 public:
  TCPConst() = default;
  std::string_view ClassName() const override { return "TCPConst"; }
  const TPropList& Props() const override;

  const std::string& ConstValue() const { return FConstValue; }
  void SetConstValue(const std::string& v) { SetProp(FConstValue, v); }

  void Assign(const TColParams& source) override;

 protected:
  void DoGenerate(TTextBuffer& out) override { out += FConstValue; }

 private:
  std::string FConstValue;
};

}  // namespace kelvast
