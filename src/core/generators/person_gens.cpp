// SPDX-License-Identifier: MIT
#include "core/generators/person_gens.h"

#include <algorithm>
#include <cstdint>

#include "core/generators/charset.h"
#include "core/generators/dictionary_gens.h"
#include "core/generators/word_lists.h"
#include "core/platform/errors.h"
#include "core/platform/random.h"
#include "core/platform/text_utils.h"

namespace kelvast {

const std::string_view kDomainEndings[15] = {"com", "net", "org", "gouv", "info",
                                             "biz", "tv",  "us",  "fr",   "ca",
                                             "cc",  "uk",  "be",  "nz",   "at"};

namespace {


// The title code of the current record: "0", "1", "2", or empty when none was drawn or the
// generator belongs to no model.
std::string_view CurrentTitleCode(const TColParams& generator) {
  const TGeneratorOwner* generators = generator.Generators();
  if (!generators) return {};
  return generators->Person().LastInternalValue();
}


}  // namespace

// ---- TCPFirstName ----

void TCPFirstName::DoGenerate(TTextBuffer& out) {
  const std::string_view code = CurrentTitleCode(*this);
  if (code.empty()) {
    AppendRandomCharString(out, FAlphabet, TCharSet(), static_cast<uint16_t>(3 + Random(10)));
    return;
  }
  const TWordList which = code[0] == '0' ? TWordList::BoyNames : TWordList::GirlNames;
  TPreparedList& names = FNames[which == TWordList::BoyNames ? 0 : 1];
  if (names.Prepare(WordsOf(Context()), which, TPreparedList::Trimmed).empty())
    throw EGenerationError("The first-name list \"" + std::string(WordListFileName(which)) +
                           "\" is empty: a first name cannot be drawn.");
  names.AppendDraw(out);
}

// ---- TCPLastName ----

const std::vector<std::string>& TCPLastName::DefaultPhonemes() {
  static const std::vector<std::string> kPhonemes{
      "fran", "con",  "hen",  "ri",   "abra", "ham", "rou", "sac", "tor",  "man",  "wil",
      "hil",  "ger",  "le",   "sieur", "pull", "boo", "bach", "pre", "bris", "son",  "neau",
      "gui",  "gue",  "gu",   "gru",  "gro",  "bar", "el",  "dot", "cha",  "cher", "chou",
      "la",   "ron",  "bell", "nard", "lan",  "lon", "bian", "chi", "mon", "mi",   "mor",
      "bil",  "art",  "cot",  "ton",  "nor",  "nes", "nou", "pa",  "pou",  "pi",   "pour",
      "cel",  "ran",  "ro",   "rit",  "rot",  "ra",  "rou", "sa",  "sou",  "si",   "seur",
      "ti",   "tard", "to",   "tur",  "tri",  "tro", "ta",  "ten", "val",  "vu",   "vieu",
      "vo",   "vas",  "char", "a",    "e",    "i",   "o",   "u",   "au",   "ail",  "ar",
      "as",   "an",   "en",   "euil", "oeu",  "ol",  "or",  "our", "os",   "un",   "urs"};
  return kPhonemes;
}

TCPLastName::TCPLastName() : FPhonemeList(DefaultPhonemes()) { InitDataLength(10); }

const TPropList& TCPLastName::Props() const {
  using C = TCPLastName;
  static const TPropList kProps = TPropList::Extend(
      BaseProps(), {
                       StringsProp<C>("PhonemeList", &C::PhonemeList, &C::SetPhonemeList),
                       IntProp<C>("Datalength", &C::DataLength, &C::SetDataLength),
                       IntProp<C>("MinSize", &C::MinSize, &C::SetMinSize),
                   });
  return kProps;
}

void TCPLastName::SetPhonemeList(const std::vector<std::string>& v) {
  FPhonemeList = v;
  Changed();
}

void TCPLastName::Assign(const TColParams& source) {
  TColParams::Assign(source);
  if (auto* s = dynamic_cast<const TCPLastName*>(&source)) {
    FPhonemeList = s->FPhonemeList;
    FMinSize = s->FMinSize;
  }
}

void TCPLastName::DoGenerate(TTextBuffer& out) {
  // A minimum above the length would make the span negative: the target is then the minimum.
  // The span is worked out in 64 bits so that extreme settings cannot overflow.
  const int64_t spread = static_cast<int64_t>(DataLength()) - FMinSize;
  const int64_t target =
      static_cast<int64_t>(FMinSize) +
      (spread > 0 ? Random(static_cast<int32_t>(std::min<int64_t>(spread, INT32_MAX))) : 0);
  const size_t start = out.size();
  if (FPhonemeList.empty()) {
    AppendRandomCharString(out, FAlphabet, TCharSet(), static_cast<uint16_t>(DataLength()));
  } else {
    const int32_t count = static_cast<int32_t>(FPhonemeList.size());
    TLocalRandom random;
    TSplitDraw draw(random);
    while (static_cast<int64_t>(out.size() - start) < target) {
      const std::string& phoneme = FPhonemeList[draw.Below(static_cast<uint32_t>(count))];
      // A list of empty phonemes only can never lengthen the text: stop rather than loop for
      // ever. One non-empty phoneme is enough for the loop to end.
      if (phoneme.empty() && std::all_of(FPhonemeList.begin(), FPhonemeList.end(),
                                         [](const std::string& p) { return p.empty(); }))
        break;
      out += phoneme;
      if (draw.Below(1000) < 200 && static_cast<int64_t>(out.size() - start) > FMinSize) break;
    }
  }
  if (out.size() > start && out[start] >= 'a' && out[start] <= 'z')
    out[start] = static_cast<char>(out[start] - 32);
  TrimFrom(out, start);
}

// ---- TCPFirstLastName ----

TCPFirstLastName::TCPFirstLastName()
    : FFirstName(std::make_unique<TCPFirstName>()), FLastName(std::make_unique<TCPLastName>()) {
  FFirstName->OnChange = [this](TColParams&) { Changed(); };
  FLastName->OnChange = [this](TColParams&) { Changed(); };
  DeclareParts();
}

TCPFirstLastName::~TCPFirstLastName() = default;

const TPropList& TCPFirstLastName::Props() const {
  using C = TCPFirstLastName;
  static const TPropList kProps = TPropList::Extend(
      BaseProps(), {
                       BoolProp<C>("FirstLast", &C::FirstLast, &C::SetFirstLast),
                       TextProp<C>("Separator", &C::Separator, &C::SetSeparator),
                   });
  return kProps;
}

void TCPFirstLastName::SetModified(bool v) {
  TColParams::SetModified(v);
  FLastName->SetModified(v);
  FFirstName->SetModified(v);
}

void TCPFirstLastName::SetOwner(const TGeneratorOwner* owner) {
  TColParams::SetOwner(owner);
  FFirstName->SetOwner(owner);
  FLastName->SetOwner(owner);
}

TColParams& TCPFirstLastName::PartAt(int index) const {
  if (index == 0) return *FFirstName;
  return *FLastName;
}

void TCPFirstLastName::Prepare(const TGenContext& context) {
  TColParams::Prepare(context);
  FFirstName->Prepare(context);
  FLastName->Prepare(context);
}

void TCPFirstLastName::ClearParts() {
  FFirstName->ClearLastValue();
  FLastName->ClearLastValue();
}

void TCPFirstLastName::Assign(const TColParams& source) {
  TColParams::Assign(source);
  if (auto* s = dynamic_cast<const TCPFirstLastName*>(&source)) {
    FFirstName->Assign(*s->FFirstName);
    FLastName->Assign(*s->FLastName);
    FSeparator = s->FSeparator;
    FFirstLast = s->FFirstLast;
  }
}

void TCPFirstLastName::DoGenerate(TTextBuffer& out) {
  if (FSeparator.empty()) FSeparator = " ";
  const size_t start = out.size();
  if (FFirstLast) {
    out += FLastName->GetValue();
    out += FSeparator;
    out += FFirstName->GetValue();
  } else {
    out += FFirstName->GetValue();
    out += FSeparator;
    out += FLastName->GetValue();
  }
  TrimFrom(out, start);
}

// ---- TCPSex ----

TCPSex::TCPSex() { InitExportType(etString); }

const TPropList& TCPSex::Props() const {
  using C = TCPSex;
  static const TPropList kProps = TPropList::Extend(
      IntegerProps(), {
                          TextProp<C>("Mister", &C::Mister, &C::SetMister),
                          TextProp<C>("Missis", &C::Missis, &C::SetMissis),
                          TextProp<C>("Miss", &C::Miss, &C::SetMiss),
                          FloatProp<C>("MisterPercent", &C::MisterPercent, &C::SetMisterPercent),
                          FloatProp<C>("MissisPercent", &C::MissisPercent, &C::SetMissisPercent),
                          FloatProp<C>("MissPercent", &C::MissPercent, &C::SetMissPercent),
                      });
  return kProps;
}

void TCPSex::SetTitle(std::string& field, const std::string& v) { SetProp(field, Trim(v)); }

void TCPSex::DoGenerate(TTextBuffer& out) {
  const float p = static_cast<float>(Random(10000)) / 100.0f;
  const float mister = MisterPercent();
  if (p <= mister) {
    FLastDraw = "0";
    out += Mister();
  } else if (p <= mister + MissisPercent()) {
    FLastDraw = "1";
    out += Missis();
  } else {
    FLastDraw = "2";
    out += Miss();
  }
}

// ---- TCPSexGen: every accessor goes to the title its model draws for each record. ----

TCPSex* TCPSexGen::ModelSex() const {
  const TGeneratorOwner* generators = Generators();
  return generators ? &PersonOf(*generators) : nullptr;
}

void TCPSexGen::DoGenerate(TTextBuffer& out) {
  if (TCPSex* sex = ModelSex()) out += sex->GetValue();
}

namespace {
const std::string kNoTitle;
}

const std::string& TCPSexGen::Mister() const { return ModelSex() ? ModelSex()->Mister() : kNoTitle; }
const std::string& TCPSexGen::Missis() const { return ModelSex() ? ModelSex()->Missis() : kNoTitle; }
const std::string& TCPSexGen::Miss() const { return ModelSex() ? ModelSex()->Miss() : kNoTitle; }
float TCPSexGen::MisterPercent() const { return ModelSex() ? ModelSex()->MisterPercent() : 0; }
float TCPSexGen::MissisPercent() const { return ModelSex() ? ModelSex()->MissisPercent() : 0; }
float TCPSexGen::MissPercent() const { return ModelSex() ? ModelSex()->MissPercent() : 0; }

// The shared object stores the value even when equal, so the generator reports every write.
#define KELVAST_SEXGEN_SETTER(Setter, Type)   \
  void TCPSexGen::Setter(Type v) {            \
    TCPSex* sex = ModelSex();                 \
    if (!sex) return;                         \
    sex->Setter(v);                           \
    Changed();                                \
  }
KELVAST_SEXGEN_SETTER(SetMister, const std::string&)
KELVAST_SEXGEN_SETTER(SetMissis, const std::string&)
KELVAST_SEXGEN_SETTER(SetMiss, const std::string&)
KELVAST_SEXGEN_SETTER(SetMisterPercent, float)
KELVAST_SEXGEN_SETTER(SetMissisPercent, float)
KELVAST_SEXGEN_SETTER(SetMissPercent, float)
#undef KELVAST_SEXGEN_SETTER

// ---- TCPEmail ----

TCPEmail::TCPEmail() : FDomainWords(true) { DeclareParts(); }
TCPEmail::~TCPEmail() = default;

const TPropList& TCPEmail::Props() const {
  using C = TCPEmail;
  static const TPropList kProps =
      TPropList::Extend(BaseProps(), {BoolProp<C>("Short", &C::Short, &C::SetShort)});
  return kProps;
}

void TCPEmail::Prepare(const TGenContext& context) {
  TColParams::Prepare(context);
  FOwnFirst.reset();
  FOwnLast.reset();
  FFirstSource = nullptr;
  FLastSource = nullptr;
  if (const TGeneratorOwner* generators = Generators()) {
    for (int i = 0; i < generators->GeneratorCount(); ++i) {
      TColParams* p = &generators->GeneratorAt(i);
      if (!FFirstSource && dynamic_cast<TCPFirstName*>(p)) FFirstSource = p;
      if (!FLastSource && dynamic_cast<TCPLastName*>(p)) FLastSource = p;
    }
  }
  if (!FFirstSource) {
    FOwnFirst = std::make_unique<TCPFirstName>();
    FOwnFirst->SetOwner(Owner());
    FOwnFirst->Prepare(context);
    FFirstSource = FOwnFirst.get();
  }
  if (!FLastSource) {
    auto last = std::make_unique<TCPLastName>();
    last->SetDataLength(14);
    last->SetMinSize(6);
    last->Prepare(context);
    FOwnLast = std::move(last);
    FLastSource = FOwnLast.get();
  }
}

void TCPEmail::ClearParts() {
  if (FOwnFirst) FOwnFirst->ClearLastValue();
  if (FOwnLast) FOwnLast->ClearLastValue();
}

void TCPEmail::DoGenerate(TTextBuffer& out) {
  // Without a Prepare (a generator used outside a run) the sources are taken now.
  if (!FFirstSource || !FLastSource) Prepare(Context());
  AppendIdentifierSafe(out, FFirstSource->GetValue());
  const std::string_view last = FLastSource->GetValue();  // drawn even for the short form
  if (!FShort) {
    out += '.';
    AppendIdentifierSafe(out, last);
  }
  out += '@';
  FDomainWords.Append(out, WordsOf(Context()), TWordList::EnglishWords, 10);
  out += '.';
  out += kDomainEndings[Random(15)];
}

// ---- TCPWebSite ----

TCPWebSite::TCPWebSite() : FDomainWords(true) { InitDataLength(3); }

const TPropList& TCPWebSite::Props() const {
  using C = TCPWebSite;
  static const TPropList kProps = TPropList::Extend(
      BaseProps(), {IntProp<C>("Datalength", &C::DataLength, &C::SetDataLength)});
  return kProps;
}

void TCPWebSite::DoGenerate(TTextBuffer& out) {
  out += "www.";
  FDomainWords.Append(out, WordsOf(Context()), TWordList::EnglishWords, DataLength());
  out += '.';
  out += kDomainEndings[Random(15)];
  const int32_t path = Random(100);
  if (path < 10) out += "/index.html";
  else if (path < 20) out += "/home.aspx";
  else if (path < 30) out += "/index.php";
}

}  // namespace kelvast
