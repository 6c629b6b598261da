#include "platform/db/DataControls.h"

#include "platform/db/DataSource.h"
#include "platform/db/Query.h"
#include "platform/db/StoredProc.h"
#include "platform/db/Table.h"

void RegisterDataControls() {
  RegisterClass(TDataSource::StaticClass());
  RegisterClass(TTable::StaticClass());
  RegisterClass(TQuery::StaticClass());
  RegisterClass(TStoredProc::StaticClass());
}
