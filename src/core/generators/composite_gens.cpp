// SPDX-License-Identifier: MIT
#include "core/generators/composite_gens.h"

#include <algorithm>
#include <unordered_set>

#include "core/database/data_access.h"
#include "core/database/sql_names.h"
#include "core/platform/code_page.h"
#include "core/platform/errors.h"
#include "core/platform/random.h"
#include "core/platform/text_utils.h"

namespace kelvast {

// ---- TCPCombo ----

const TPropList& TCPCombo::Props() const {
  using C = TCPCombo;
  static const TPropList kProps = TPropList::Extend(
      BaseProps(), {
                       StringsProp<C>("Colnames", &C::Colnames, &C::SetColnames),
                       EnumProp<C, TExportType>("ExportType", kExportTypeIdents, &C::ExportType,
                                                &C::SetExportType),
                   });
  return kProps;
}

void TCPCombo::SetColnames(const std::vector<std::string>& v) {
  FColnames = v;
  Changed();
}

void TCPCombo::Assign(const TColParams& source) {
  TColParams::Assign(source);
  if (auto* s = dynamic_cast<const TCPCombo*>(&source)) FColnames = s->FColnames;
}

void TCPCombo::DoGenerate(TTextBuffer& out) {
  // A combination that reaches itself again, directly or through other combinations, gets ""
  // from that inner reading instead of recursing for ever.
  if (FEvaluating) return;
  const TGeneratorOwner* generators = Generators();
  if (!generators) return;
  FEvaluating = true;
  try {
    for (const std::string& name : FColnames) {
      TColParams* part = generators->FindGenerator(name);
      if (!part) continue;
      auto* combo = dynamic_cast<TCPCombo*>(part);
      if (combo && combo->FEvaluating) continue;
      out += part->GetValue();
    }
  } catch (...) {
    FEvaluating = false;
    throw;
  }
  FEvaluating = false;
  TrimFrom(out, 0);
}

// ---- TCPColRef ----

const TPropList& TCPColRef::Props() const {
  using C = TCPColRef;
  static const TPropList kProps = TPropList::Extend(
      BaseProps(), {
                       TextProp<C>("Table", &C::Table, &C::SetTable),
                       TextProp<C>("Field", &C::Field, &C::SetField),
                       TextProp<C>("Delimiter", &C::Delimiter, &C::SetDelimiter),
                       TextProp<C>("StrDelimiter", &C::StrDelimiter, &C::SetStrDelimiter),
                       EnumProp<C, TExportType>("ExportType", kExportTypeIdents, &C::ExportType,
                                                &C::SetExportType),
                   });
  return kProps;
}

std::string TCPColRef::Delimiter() const { return ReadDelimiter(FDelimiter); }
std::string TCPColRef::StrDelimiter() const { return ReadDelimiter(FStrDelimiter); }

std::string TCPColRef::QueryText(TDataAccess& connection) const {
  // The names are checked against the catalogue first, so that a misspelt name is an error
  // rather than a quoted text whose value every row would repeat, and quoted the way the driver
  // says, whatever delimiter the model uses for its own statements.
  const std::string where = "The column reference to " + FTable + "." + FField;
  const std::vector<std::string> fields = connection.FieldNames(FTable);
  if (fields.empty()) throw EDatabaseError(where + ": the table \"" + FTable + "\" does not exist.");
  auto field = std::find(fields.begin(), fields.end(), FField);
  if (field == fields.end())
    field = std::find_if(fields.begin(), fields.end(),
                         [&](const std::string& f) { return SameTextAnsi(f, FField); });
  if (field == fields.end())
    throw EDatabaseError(where + ": the table \"" + FTable + "\" has no field \"" + FField +
                         "\".");
  const char quote = connection.IdentifierQuote();
  const auto name = [quote](const std::string& n) {
    return quote == ' ' ? n : QuoteName(n, quote, quote);
  };
  return "SELECT DISTINCT " + name(*field) + " FROM " + name(FTable);
}

void TCPColRef::ModelDelimiterChanged(bool names, const std::string& delimiter) {
  if (names) SetDelimiter(delimiter);
  else SetStrDelimiter(delimiter);
}

void TCPColRef::Prepare(const TGenContext& context) {
  TColParams::Prepare(context);
  FValues.clear();
  TDataAccess* connection = context.Connection;
  if (!connection || !connection->Connected())
    throw EDatabaseError("The column reference to " + FTable + "." + FField +
                         " needs an open database connection.");
  FValues = connection->Query(QueryText(*connection));
  // An empty column has no value to draw: a run would otherwise write a placeholder where the
  // referenced values belong.
  if (FValues.empty())
    throw EGenerationError("The column reference to " + FTable + "." + FField +
                           " finds no value: the column is empty.");
}

void TCPColRef::Assign(const TColParams& source) {
  TColParams::Assign(source);
  if (auto* s = dynamic_cast<const TCPColRef*>(&source)) {
    FTable = s->FTable;
    FField = s->FField;
    FValues = s->FValues;
  }
}

TUniqueSpace TCPColRef::UniqueSpace() const {
  FUniqueValues.clear();
  std::unordered_set<std::string> seen;
  for (const std::string& value : FValues) {
    const std::string_view trimmed = TrimView(value);
    // An empty value would be written as NULL.
    if (trimmed.empty()) continue;
    const bool folded = DataCase() != gcNoChange;
    if (seen.insert(folded ? AnsiUpperCase(trimmed) : std::string(trimmed)).second)
      FUniqueValues.push_back(trimmed);
  }
  return {true, FUniqueValues.size(), false, {}};
}

void TCPColRef::AppendUniqueValue(TTextBuffer& out, TUniqueCount index) {
  if (index < FUniqueValues.size()) out += FUniqueValues[static_cast<size_t>(index)];
}

void TCPColRef::DoGenerate(TTextBuffer& out) {
  if (FValues.empty()) {
    out += "<empty data>";
    return;
  }
  out += TrimView(FValues[static_cast<size_t>(Random(static_cast<int32_t>(FValues.size())))]);
}

}  // namespace kelvast
