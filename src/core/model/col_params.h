// SPDX-License-Identifier: MIT
#pragma once
// TColParams: the settings every generator type shares, and the value pipeline through which
// every value is obtained (cached value, external file, nulls, case).

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/model/col_types.h"
#include "core/model/gen_context.h"
#include "core/model/persistent.h"
#include "core/model/property.h"
#include "core/platform/permutation.h"
#include "core/platform/text_buffer.h"
#include "core/platform/text_utils.h"

namespace kelvast {

// The values a generator can write without repeating one, counted as written: after its case
// and length rules.
struct TUniqueSpace {
  bool Applies = false;    // the type enumerates a finite space of values
  TUniqueCount Size = 0;   // how many distinct values
  bool ByRecord = false;   // each record's value comes from its number and never repeats (counters)
  std::string Range;       // the values' bounds for messages ("1 to 5,000"), or empty
};

class TColParams : public TPersistent {
 public:
  TColParams() = default;
  ~TColParams() override = default;
  TColParams(const TColParams&) = delete;
  TColParams& operator=(const TColParams&) = delete;

  std::string_view ClassName() const override { return "TColParams"; }
  const TPropList& Props() const override { return BaseProps(); }
  // The properties every parameter class stores first.
  static const TPropList& BaseProps();

  // ---- Shared settings. Setters store a different value and report the change. ----
  bool UseExternalFile() const { return FUseExternalFile; }
  void SetUseExternalFile(bool v) { SetProp(FUseExternalFile, v); }
  const std::string& ExternalFile() const { return FExternalFile; }
  void SetExternalFile(const std::string& v) { SetProp(FExternalFile, v); }
  bool French() const { return FFrench; }
  void SetFrench(bool v) { SetProp(FFrench, v); }
  int32_t DataLength() const { return FDataLength; }
  void SetDataLength(int32_t v) { SetProp(FDataLength, v); }
  bool AllowNull() const { return FAllowNull; }
  void SetAllowNull(bool v) { SetProp(FAllowNull, v); }
  int32_t NullPercent() const { return FNullPercent; }
  void SetNullPercent(int32_t v) { SetProp(FNullPercent, v); }
  bool Stealth() const { return FStealth; }
  void SetStealth(bool v) { SetProp(FStealth, v); }
  TExportType ExportType() const { return FExportType; }
  void SetExportType(TExportType v) { SetProp(FExportType, v); }
  TGenCase DataCase() const { return FDataCase; }
  void SetDataCase(TGenCase v) { SetProp(FDataCase, v); }
  // The unique key the generator's values belong to: 0 for none. The generators of a model that
  // share a key number make a tuple that no two records repeat; a generator alone in its key
  // never repeats a value.
  int32_t Unique() const { return FUnique; }
  void SetUnique(int32_t v) { SetProp(FUnique, v < 0 ? 0 : v); }

  // The space of values a unique key draws from; Applies is false for types without one.
  virtual TUniqueSpace UniqueSpace() const { return {}; }
  // Set by the model's unique keys: while active, every value is the one of index UniqueIndex
  // of that space, and no value is NULL.
  bool UniqueActive() const { return FUniqueActive; }
  void SetUniqueActive(bool v) { FUniqueActive = v; }
  void SetUniqueIndex(TUniqueCount index) { FUniqueIndex = index; }

  // The value of the current record; a plain store that reports nothing.
  std::string_view LastValue() const { return FLastValue.View(); }
  void SetLastValue(const std::string& v) { FLastValue.assign(v); }

  bool Modified() const { return FModified; }
  // Stores the flag; fires nothing.
  virtual void SetModified(bool v) { FModified = v; }

  // Lines of the external file, read at Prepare.
  const std::vector<std::string>& ExternalLines() const { return FExternalLines; }

  // Called with this object whenever a setting changes; the owning item listens here.
  std::function<void(TColParams&)> OnChange;

  // The generators of the model that owns this one (null for a generator on its own). Set by
  // the owning item; generators made of generators pass it on to their parts.
  const TGeneratorOwner* Owner() const { return FOwner; }
  virtual void SetOwner(const TGeneratorOwner* owner) { FOwner = owner; }

  // The context of the last Prepare.
  const TGenContext& Context() const { return FContext; }
  // The generators this one may read: those of the last Prepare, else those of its owner.
  const TGeneratorOwner* Generators() const {
    return FContext.Generators ? FContext.Generators : FOwner;
  }

  // The generators this one is made of and keeps settings for (a full name's first and last
  // names), which a copy of the model copies too.
  virtual int PartCount() const { return 0; }
  virtual TColParams& PartAt(int index) const;

  // The model's delimiters changed: names (for table and field names) or strings. Generators
  // that write their own statements follow them.
  virtual void ModelDelimiterChanged(bool names, const std::string& delimiter);

  // ---- The value pipeline. ----

  // The value of the current record: generated on the first request, cached for the rest. The
  // view holds until the value changes (the next record).
  TPaddedView GetValue() {
    // A value that starts with a character other than a blank is not blank: the common case
    // needs no scan and no call.
    if (!FLastValue.empty() && !IsTrimChar(FLastValue[0])) return FLastValue.View();
    // Without an external file, nulls or a case transform the value is what the type makes.
    if (!(FUseExternalFile | FAllowNull | FUniqueActive) && FDataCase == gcNoChange) {
      FLastValue.clear();
      DoGenerate(FLastValue);
      return FLastValue.View();
    }
    return GenerateValue();
  }
  // The value other generators read for the current record (a bit reads its draw, a title its
  // code).
  virtual std::string_view LastInternalValue();
  // Called once before a run or a sample: keeps the context, reads the external file and resets
  // run state. Subclasses that read other generators, the connection or the word lists take
  // them from the context here.
  virtual void Prepare(const TGenContext& context);
  // Forgets the cached value (the start of a record), with those of the generator's own parts.
  void ClearLastValue() {
    FLastValue.clear();
    if (FHasParts) ClearParts();
  }
  // Sets the modified flag and notifies OnChange.
  void Changed();

  // Copies the settings of another parameter object; subclasses add their own when the source is
  // of their class.
  virtual void Assign(const TColParams& source);
  // Gives a generator the user has just added settings it can run with where its construction
  // defaults (which stored files rely on for what they leave out) are not usable.
  virtual void InitNew() {}

 protected:
  // Produces one raw value of the type, appended to out (which is empty on entry).
  virtual void DoGenerate(TTextBuffer& out) = 0;
  // Appends the value of index `index` (below UniqueSpace().Size) of the type's unique space;
  // distinct indexes give distinct values once the case transform is applied.
  virtual void AppendUniqueValue(TTextBuffer& out, TUniqueCount index);

  template <class T, class V>
  void SetProp(T& field, const V& v) {
    if (field == v) return;
    field = v;
    Changed();
  }

  // Generators made of generators of their own declare it, and forget their parts' values here.
  void DeclareParts() { FHasParts = true; }
  virtual void ClearParts() {}

  // Construction defaults that subclasses change.
  void InitDataLength(int32_t v) { FDataLength = v; }
  void InitExportType(TExportType v) { FExportType = v; }
  void InitUseExternalFile(bool v) { FUseExternalFile = v; }

 private:
  // GetValue's path when the cached value is blank: a blank value is drawn again.
  TPaddedView GenerateValue();

  bool FUseExternalFile = false;
  std::string FExternalFile;
  std::vector<std::string> FExternalLines;
  bool FFrench = false;
  int32_t FDataLength = 0;
  bool FAllowNull = false;
  int32_t FNullPercent = 0;
  bool FStealth = false;
  TTextBuffer FLastValue{16};  // created with room: views of it may be copied as padded words
  bool FHasParts = false;
  bool FModified = false;
  const TGeneratorOwner* FOwner = nullptr;
  TGenContext FContext;
  TExportType FExportType = etString;
  TGenCase FDataCase = gcNoChange;
  int32_t FUnique = 0;
  bool FUniqueActive = false;
  TUniqueCount FUniqueIndex = 0;
};

// The delimiter rule shared by the model and column references: the text when it is, trimmed,
// exactly two characters long, else two blanks.
std::string ReadDelimiter(const std::string& stored);

// Applies a case transform in place; gcRandom draws one of the four others for this value.
void ApplyCase(TTextBuffer& s, TGenCase c);

// First character upper-cased when it is an ASCII letter a..z, the rest lower-cased under the
// locale rules: "pARIS" gives "Paris"; an accented first letter stays small.
std::string ProperCase(std::string_view s);
// The in-place form works on the characters from position `from` on.
void ProperCaseInPlace(TTextBuffer& s, size_t from = 0);
void ProperCaseInPlace(std::string& s, size_t from = 0);

// Every character other than 0-9, A-Z, a-z becomes "_": "Jean-Luc O'Neil" gives
// "Jean_Luc_O_Neil".
std::string IdentifierSafe(std::string_view s);
// The in-place form changes the characters from position `from` on.
void IdentifierSafeInPlace(std::string& s, size_t from = 0);
// Appends the identifier-safe form of s, which lies in a text buffer (a generator's value):
// short texts are read and written as whole words, into the buffers' padding.
void AppendIdentifierSafe(TTextBuffer& out, std::string_view s);

}  // namespace kelvast
