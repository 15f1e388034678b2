#include "core/generators/composite_gens.h"

#include "core/database/data_access.h"
#include "core/model/gen_model.h"
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
  TGenModel* model = CurrentModel();
  if (!model) return;
  FEvaluating = true;
  try {
    for (const std::string& name : FColnames) {
      TColToGenItem* item = model->Cols().FindByName(name);
      if (!item) continue;
      auto* combo = dynamic_cast<TCPCombo*>(&item->Param());
      if (combo && combo->FEvaluating) continue;
      out += item->Param().GetValue();
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

std::string TCPColRef::QueryText() const {
  // The stored text, not the getter's: a single character quotes on both sides, none means "'".
  const char open = FDelimiter.empty() ? '\'' : FDelimiter[0];
  const char close = FDelimiter.size() < 2 ? open : FDelimiter[1];
  std::string sql = "SELECT DISTINCT ";
  sql += open;
  sql += FField;
  sql += close;
  sql += " FROM ";
  sql += open;
  sql += FTable;
  sql += close;
  return sql;
}

void TCPColRef::Prepare() {
  TColParams::Prepare();
  FValues.clear();
  TDataAccess* connection = CurrentConnection();
  if (!connection || !connection->Connected())
    throw EDatabaseError("The column reference to " + FTable + "." + FField +
                         " needs an open database connection.");
  FValues = connection->Query(QueryText());
}

void TCPColRef::Assign(const TColParams& source) {
  TColParams::Assign(source);
  if (auto* s = dynamic_cast<const TCPColRef*>(&source)) {
    FTable = s->FTable;
    FField = s->FField;
    FValues = s->FValues;
  }
}

void TCPColRef::DoGenerate(TTextBuffer& out) {
  if (FValues.empty()) {
    out += "<empty data>";
    return;
  }
  out += TrimView(FValues[static_cast<size_t>(Random(static_cast<int32_t>(FValues.size())))]);
}

}  // namespace kelvast
