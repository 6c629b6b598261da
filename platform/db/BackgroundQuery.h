#pragma once
// A read-only statement run in a thread of its own, on a connection of its own to an alias, so
// that a slow one (a view over a million rows) leaves the windows answering meanwhile. The first
// column of its rows, or the reason it failed (credentials blanked out) and what kind of failure
// it was, reaches `done` in the main thread, from its event loop. Any other work on a connection
// of its own runs the same way (a connection test whose server may never answer).
//
// Destroying the handle drops the answer: `done` is never called after that. The statement itself
// runs to its end; the program waits for those still running when the application object goes.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QSqlDatabase>

#include "platform/db/DatabaseAliases.h"
#include "platform/db/DatabaseError.h"

class TBackgroundQuery {
 public:
  // `failure` is TDatabaseFailure::Other when there is no error.
  using TDone = std::function<void(std::vector<std::string> values, std::string error, TDatabaseFailure failure)>;
  // Runs in the worker thread, on the connection made there; raises EDatabaseError to fail.
  using TWork = std::function<std::vector<std::string>(const QSqlDatabase& db)>;

  // Starts `sql` on the database of `alias`. The alias is read here, in the caller's thread.
  TBackgroundQuery(const std::string& alias, const std::string& sql, TDone done);
  // Connects to the database of `settings` in the worker and runs `work` there.
  TBackgroundQuery(const TAliasSettings& settings, TWork work, TDone done);
  ~TBackgroundQuery();  // the worker holds the state weakly: gone, its answer is dropped
  TBackgroundQuery(const TBackgroundQuery&) = delete;
  TBackgroundQuery& operator=(const TBackgroundQuery&) = delete;

  // Waits until every statement started has ended (their answers stay queued for the event loop).
  static void WaitForAll();

  struct TState;

 private:
  std::shared_ptr<TState> state_;
};
