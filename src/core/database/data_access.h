#pragma once
// The data-access interface: what the core needs of a database connection. The program owns one
// connection; generators that read existing tables use the current one.

#include <string>
#include <vector>

#include "core/platform/errors.h"

namespace kelvast {

// A database failure, carrying the driver's diagnostic message.
class EDatabaseError : public EKelvastError {
 public:
  using EKelvastError::EKelvastError;
};

class TDataAccess {
 public:
  virtual ~TDataAccess() = default;

  virtual bool Connected() const = 0;
  // The first column of every result row, as text in the code page, in the order returned; NULL
  // gives the empty text. Raises EDatabaseError.
  virtual std::vector<std::string> Query(const std::string& sql) = 0;
  // Runs one statement that returns no rows. Raises EDatabaseError.
  virtual void Execute(const std::string& sql) = 0;

  virtual void BeginTrans() = 0;
  virtual void CommitTrans() = 0;
  virtual void RollbackTrans() = 0;
  virtual bool InTransaction() const = 0;
};

// The connection that column references read from; nullptr when there is none.
TDataAccess* CurrentConnection();
void SetCurrentConnection(TDataAccess* connection);

}  // namespace kelvast
