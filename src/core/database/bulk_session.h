// SPDX-License-Identifier: MIT
#pragma once
// A session that loads rows into one table by an engine's bulk path, inside the transaction the
// direct insert holds on it. The direct insert's writer drives it: it begins the transaction,
// sets savepoints around each batch through Execute, and narrows a failed batch down to its
// failing rows by loading parts of it again.
//
//   session->Begin();
//   session->Execute("SAVEPOINT b");
//   session->Load(batch, 0, batch.Rows());   // all rows or none; EBulkLoadError names the row
//   session->Execute("RELEASE SAVEPOINT b");
//   session->Commit();

#include <cstddef>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "core/database/data_access.h"
#include "core/database/value_batch.h"

namespace kelvast {

// A load that failed on a row's values. Row is the failing row's index in the batch when the
// engine says which row it was, else -1. An engine that only narrows it down names the suspects
// instead: the failing row lies in [SuspectsFrom, SuspectsTo), and the rows of the load before
// SuspectsFrom went in; both are -1 when the engine says nothing. After the error the
// transaction must be rolled back to the savepoint set before the load; the rows of the load
// before the failing one are not kept.
class EBulkLoadError : public EDatabaseError {
 public:
  EBulkLoadError(const std::string& message, std::string sqlState, int nativeError, long row)
      : EBulkLoadError(message, std::move(sqlState), nativeError, row, row < 0 ? -1 : row + 1) {}
  EBulkLoadError(const std::string& message, std::string sqlState, int nativeError,
                 long suspectsFrom, long suspectsTo)
      : EDatabaseError(message, std::move(sqlState), nativeError, fkRow),
        FFrom(suspectsFrom),
        FTo(suspectsTo) {}
  long Row() const { return FFrom >= 0 && FTo == FFrom + 1 ? FFrom : -1; }
  long SuspectsFrom() const { return FFrom; }
  long SuspectsTo() const { return FTo; }

 private:
  long FFrom;
  long FTo;
};

// The direct insert's own statements around its loads: setting, releasing and rolling back to
// one of two savepoints. They are made only of fixed words and never hold a value, so a session
// may send them in one text with each other and with the start of the load that follows.
enum class TControl : unsigned char { Savepoint, Release, RollbackTo };

class TControlStatements {
 public:
  // `slot` (0 or 1) picks the savepoint.
  struct TItem {
    TControl Kind;
    int Slot;
  };
  TControlStatements() = default;
  TControlStatements(std::initializer_list<TItem> items) : FItems(items) {}

  void Add(TControl kind, int slot) { FItems.push_back({kind, slot == 0 ? 0 : 1}); }
  void Append(const TControlStatements& more) {
    FItems.insert(FItems.end(), more.FItems.begin(), more.FItems.end());
  }
  bool Empty() const { return FItems.empty(); }
  void Clear() { FItems.clear(); }
  // Each statement on its own.
  std::vector<std::string> Statements() const {
    std::vector<std::string> out;
    for (const TItem& item : FItems) {
      const char* name = item.Slot == 0 ? "kelvast_batch" : "kelvast_batch_next";
      switch (item.Kind) {
        case TControl::Savepoint:
          out.push_back(std::string("SAVEPOINT ") + name);
          break;
        case TControl::Release:
          out.push_back(std::string("RELEASE SAVEPOINT ") + name);
          break;
        case TControl::RollbackTo:
          out.push_back(std::string("ROLLBACK TO SAVEPOINT ") + name);
          break;
      }
    }
    return out;
  }
  // All of them in one text, each ended by ";\n".
  std::string Text() const {
    std::string text;
    for (const std::string& statement : Statements())
      text += statement + ";\n";
    return text;
  }

 private:
  std::vector<TItem> FItems;
};

class TBulkSession {
 public:
  virtual ~TBulkSession() = default;

  // What the path is called in messages and benchmarks ("COPY", "prepared statement", ...).
  virtual std::string PathName() const = 0;

  // Runs one statement that returns no rows (SAVEPOINT, RELEASE SAVEPOINT, ROLLBACK TO
  // SAVEPOINT). Raises EDatabaseError.
  virtual void Execute(const std::string& sql) = 0;
  // Runs control statements in order, in one exchange with the server where the engine takes
  // several statements in one text; those after a failing one do not run.
  virtual void Control(const TControlStatements& statements) {
    for (const std::string& statement : statements.Statements())
      Execute(statement);
  }
  virtual void Begin() = 0;
  virtual void Commit() = 0;
  virtual void Rollback() = 0;
  virtual bool InTransaction() const = 0;

  // Loads rows [first, first + count) of batch into the target table. Raises EBulkLoadError when
  // a row's values fail (a constraint, a value the column's type cannot take), and
  // EDatabaseError for anything else (a lost connection, a read-only or full database: see
  // EDatabaseError::Kind).
  virtual void Load(const TValueBatch& batch, size_t first, size_t count) = 0;
  // Runs `before`, then loads as Load does; an engine that starts its load with a statement may
  // send both in one text. A failure of `before` is raised as EDatabaseError naming no row.
  virtual void LoadAfter(const TControlStatements& before, const TValueBatch& batch, size_t first,
                         size_t count) {
    Control(before);
    Load(batch, first, count);
  }

  // Gives row `row` of batch, which the bulk path refused, the verdict of its own INSERT
  // statement: its texts bound as parameters, its number columns' values written bare (a number,
  // or an expression such as now()), run through a call that takes exactly one statement, so
  // that no value can add a statement of its own (see RowStatement). Raises EDatabaseError when
  // it fails; a value that ends the statement early is the row's failure.
  virtual void InsertRow(const TValueBatch& batch, size_t row) = 0;
};

}  // namespace kelvast
