// SPDX-License-Identifier: MIT
#pragma once
// Person generators: first names that follow the record's courtesy title, last names
// synthesised from phonemes, full names, courtesy titles, e-mail and web-site addresses.

#include <memory>
#include <string>
#include <vector>

#include "core/generators/charset.h"
#include "core/generators/dictionary_gens.h"
#include "core/generators/numeric_gens.h"
#include "core/model/col_params.h"
#include "core/platform/packed_texts.h"

namespace kelvast {

// A boy's name for a mister, a girl's name otherwise; a random string when no title was drawn.
class TCPFirstName : public TColParams {
 public:
  TCPFirstName() = default;
  std::string_view ClassName() const override { return "TCPFirstName"; }
  const TPropList& Props() const override { return BaseProps(); }

 protected:
  void DoGenerate(TTextBuffer& out) override;

 private:
  TPreparedList FNames[2];  // boys, girls
  TAlphabet FAlphabet;  // without a title
};

// A last name built from phonemes, MinSize to about DataLength characters.
class TCPLastName : public TColParams {
 public:
  TCPLastName();
  std::string_view ClassName() const override { return "TCPLastName"; }
  const TPropList& Props() const override;

  const std::vector<std::string>& PhonemeList() const { return FPhonemeList; }
  // Replaces the lines and reports a change.
  void SetPhonemeList(const std::vector<std::string>& v);
  // Direct access for in-place edits, which mark nothing modified.
  std::vector<std::string>& PhonemeListRef() { return FPhonemeList; }
  int32_t MinSize() const { return FMinSize; }
  void SetMinSize(int32_t v) { SetProp(FMinSize, v); }

  void Assign(const TColParams& source) override;

  // The 99 built-in phonemes.
  static const std::vector<std::string>& DefaultPhonemes();

 protected:
  void DoGenerate(TTextBuffer& out) override;

 private:
  std::vector<std::string> FPhonemeList;
  int32_t FMinSize = 5;
  TAlphabet FAlphabet;  // without phonemes
};

// A first name and a last name joined by Separator, in either order.
class TCPFirstLastName : public TColParams {
 public:
  TCPFirstLastName();
  ~TCPFirstLastName() override;
  std::string_view ClassName() const override { return "TCPFirstLastName"; }
  const TPropList& Props() const override;

  bool FirstLast() const { return FFirstLast; }
  void SetFirstLast(bool v) { SetProp(FFirstLast, v); }
  const std::string& Separator() const { return FSeparator; }
  void SetSeparator(const std::string& v) { SetProp(FSeparator, v); }
  TCPFirstName& FirstName() const { return *FFirstName; }
  TCPLastName& LastName() const { return *FLastName; }

  void SetModified(bool v) override;
  void SetOwner(const TGeneratorOwner* owner) override;
  // The first name, then the last name.
  int PartCount() const override { return 2; }
  TColParams& PartAt(int index) const override;
  void Prepare(const TGenContext& context) override;
  void ClearParts() override;
  void Assign(const TColParams& source) override;

 protected:
  void DoGenerate(TTextBuffer& out) override;

 private:
  bool FFirstLast = false;
  std::string FSeparator;
  std::unique_ptr<TCPFirstName> FFirstName;
  std::unique_ptr<TCPLastName> FLastName;
};

// A courtesy title: Mister, Missis or Miss by their percentages. The model draws one for each
// record (its Person); its last internal draw ("0", "1" or "2") tells the first-name generators
// which list to use.
class TCPSex : public TCPInteger {
 public:
  TCPSex();
  std::string_view ClassName() const override { return "TCPSex"; }
  const TPropList& Props() const override;

  // Text setters trim, then store a different text and report the change.
  virtual void SetMister(const std::string& v) { SetTitle(FMister, v); }
  virtual void SetMissis(const std::string& v) { SetTitle(FMissis, v); }
  virtual void SetMiss(const std::string& v) { SetTitle(FMiss, v); }
  virtual const std::string& Mister() const { return FMister; }
  virtual const std::string& Missis() const { return FMissis; }
  virtual const std::string& Miss() const { return FMiss; }
  virtual float MisterPercent() const { return FMisterPercent; }
  virtual float MissisPercent() const { return FMissisPercent; }
  virtual float MissPercent() const { return FMissPercent; }
  virtual void SetMisterPercent(float v) { SetProp(FMisterPercent, v); }
  virtual void SetMissisPercent(float v) { SetProp(FMissisPercent, v); }
  virtual void SetMissPercent(float v) { SetProp(FMissPercent, v); }

  // "0" (mister), "1" (missis) or "2" (miss) of the last draw; draws nothing.
  std::string_view LastInternalValue() override { return FLastDraw; }
  TUniqueSpace UniqueSpace() const override { return {}; }

 protected:
  void DoGenerate(TTextBuffer& out) override;

 private:
  void SetTitle(std::string& field, const std::string& v);

  std::string FMister = "Mr.";
  std::string FMissis = "Mrs.";
  std::string FMiss = "Miss";
  float FMisterPercent = 50;
  float FMissisPercent = 25;
  float FMissPercent = 25;
  std::string_view FLastDraw;  // "0", "1" or "2"; empty before the first draw
};

// The "Sex" generator: the record's title drawn by its model, whose titles and percentages it
// shows and edits.
class TCPSexGen : public TCPSex {
 public:
  TCPSexGen() = default;
  std::string_view ClassName() const override { return "TCPSexGen"; }

  void SetMister(const std::string& v) override;
  void SetMissis(const std::string& v) override;
  void SetMiss(const std::string& v) override;
  const std::string& Mister() const override;
  const std::string& Missis() const override;
  const std::string& Miss() const override;
  float MisterPercent() const override;
  float MissisPercent() const override;
  float MissPercent() const override;
  void SetMisterPercent(float v) override;
  void SetMissisPercent(float v) override;
  void SetMissPercent(float v) override;

 protected:
  void DoGenerate(TTextBuffer& out) override;

 private:
  // The title its model draws; null for a generator of no model.
  TCPSex* ModelSex() const;
};

// The courtesy title a model draws for each record.
inline TCPSex& PersonOf(const TGeneratorOwner& model) {
  return static_cast<TCPSex&>(model.Person());
}

// first.last@word.ending, from the record's first-name and last-name generators.
class TCPEmail : public TColParams {
 public:
  TCPEmail();
  ~TCPEmail() override;
  std::string_view ClassName() const override { return "TCPEmail"; }
  const TPropList& Props() const override;

  // The user part is the first name alone.
  bool Short() const { return FShort; }
  void SetShort(bool v) { SetProp(FShort, v); }

  // Takes the first First name and Last name generators of its model as sources, or makes its
  // own.
  void Prepare(const TGenContext& context) override;
  void ClearParts() override;

 protected:
  void DoGenerate(TTextBuffer& out) override;

 private:
  bool FShort = false;
  TColParams* FFirstSource = nullptr;
  TColParams* FLastSource = nullptr;
  std::unique_ptr<TColParams> FOwnFirst;
  std::unique_ptr<TColParams> FOwnLast;
  TWordDraw FDomainWords;  // each generator keeps its own prepared words
};

// www.word.ending, sometimes with a page path.
class TCPWebSite : public TColParams {
 public:
  TCPWebSite();
  std::string_view ClassName() const override { return "TCPWebSite"; }
  const TPropList& Props() const override;

 protected:
  void DoGenerate(TTextBuffer& out) override;

 private:
  TWordDraw FDomainWords;
};

// The 15 domain endings the e-mail and web-site generators draw from.
extern const std::string_view kDomainEndings[15];

}  // namespace kelvast
