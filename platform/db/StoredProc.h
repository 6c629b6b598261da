#pragma once
// TStoredProc: the result columns of a stored procedure on an alias's database. SQLite has no
// stored procedures; opening one there fails.

#include <string>

#include "platform/db/DBDataSet.h"

class TStoredProc : public TDBDataSet {
  DECLARE_CLASS(TStoredProc)

 public:
  // Changing the name closes the procedure.
  const std::string& StoredProcName() const { return storedProcName_; }
  void SetStoredProcName(const std::string& v);

 protected:
  void InternalOpen() override;

 private:
  std::string storedProcName_;
};
