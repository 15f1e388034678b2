// SPDX-License-Identifier: MIT
#pragma once
// TGenModel: one target table, its ordered generators, and where and how many records a run
// writes. It owns its generators: those that read other generators of their model
// (combinations, e-mail, first names, titles) reach them through the model as TGeneratorOwner.

#include <memory>
#include <string>

#include "core/model/col_to_gens.h"
#include "core/model/gen_context.h"
#include "core/model/persistent.h"
#include "core/model/unique_keys.h"

namespace kelvast {

class TGenModel : public TPersistent, public TGeneratorOwner {
 public:
  TGenModel();
  ~TGenModel() override;
  TGenModel(const TGenModel&) = delete;
  TGenModel& operator=(const TGenModel&) = delete;

  std::string_view ClassName() const override { return "TGenModel"; }
  const TPropList& Props() const override;

  // The component name (always empty) and tag (always 0) that model files carry.
  const std::string& Name() const { return FName; }
  void SetName(const std::string& v) { FName = v; }
  int32_t Tag() const { return FTag; }
  void SetTag(int32_t v) { FTag = v; }

  const std::string& Description() const { return FDescription; }
  void SetDescription(const std::string& v) { SetText(FDescription, v); }
  const std::string& Database() const { return FDatabase; }
  void SetDatabase(const std::string& v) { SetText(FDatabase, v); }
  const std::string& ConnectionString() const { return FConnectionString; }
  void SetConnectionString(const std::string& v) { SetText(FConnectionString, v); }
  const std::string& TableName() const { return FTableName; }
  void SetTableName(const std::string& v) { SetText(FTableName, v); }
  const std::string& SQLFile() const { return FSQLFile; }
  void SetSQLFile(const std::string& v) { SetText(FSQLFile, v); }

  // The number of records a run writes; storing it marks nothing modified.
  int32_t RecNumber() const { return FRecNumber; }
  void SetRecNumber(int32_t v) { FRecNumber = v; }

  // The two characters written around table and field names: the stored text when it is, trimmed,
  // exactly two characters long, else two blanks. Setting it also sets it on every
  // column-reference generator.
  std::string Delimiter() const;
  void SetDelimiter(const std::string& v);
  // The two characters written around string values; read like Delimiter.
  std::string StringDelimiter() const;
  void SetStringDelimiter(const std::string& v);
  const std::string& StoredDelimiter() const { return FDelimiter; }
  const std::string& StoredStringDelimiter() const { return FStringDelimiter; }

  TColToGens& Cols() { return FCols; }
  const TColToGens& Cols() const { return FCols; }
  TColToGens* ColsPtr() { return &FCols; }

  // TGeneratorOwner: the generators by name and position, and the courtesy title of the current
  // record, drawn by NewRecord (a TCPSex; see PersonOf in the person generators).
  TColParams* FindGenerator(std::string_view name) const override;
  int GeneratorCount() const override { return FCols.Count(); }
  TColParams& GeneratorAt(int index) const override { return FCols[index].Param(); }
  TColParams& Person() const override { return *FPerson; }
  int64_t RecordNumber() const override { return FRecord; }

  // True when the model's own flag or its collection's flag is set.
  bool Modified() const;
  // Sets the model, the collection, every item and every parameter object to v; no events.
  void SetModified(bool v);

  // Prepare on every generator, in order (start of a run or a sample), with the model's
  // generators, the connection (null: none) and the word lists (null: the shared ones).
  void PrepareAll(TDataAccess* connection = nullptr, const TWordLists* words = nullptr);
  // Start of a record: every generator forgets its value, then the record's title is drawn. The
  // record is the one after the last, or the numbered one (from 1).
  void NewRecord() { NewRecord(FRecord + 1); }
  void NewRecord(int64_t record);

  // The unique keys found by the last PrepareAll, their orders drawn from the calling thread's
  // source there; a run sets them from its seed so that every copy of the model agrees.
  const TUniqueKeys& UniqueKeys() const { return FUniqueKeys; }
  void SeedUniqueKeys(uint64_t seed) { FUniqueKeys.Seed(seed); }

 private:
  void SetText(std::string& field, const std::string& v);

  std::string FName;
  int32_t FTag = 0;
  std::string FDescription;
  std::string FDatabase;
  std::string FConnectionString;
  std::string FTableName;
  TColToGens FCols{this};
  std::string FSQLFile;
  int32_t FRecNumber = 0;
  std::string FDelimiter = "''";
  std::string FStringDelimiter = "''";
  bool FModified = false;
  std::unique_ptr<TColParams> FPerson;
  int64_t FRecord = 0;
  TUniqueKeys FUniqueKeys;
};

}  // namespace kelvast
