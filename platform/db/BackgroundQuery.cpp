#include "platform/db/BackgroundQuery.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <atomic>
#include <exception>
#include <mutex>
#include <thread>
#include <utility>

#include "platform/db/DatabaseAliases.h"

struct TBackgroundQuery::TState {
  TDone done;  // touched in the main thread only
};

namespace {

// The threads started and not yet joined. The application object's end joins them all, as does
// the end of the program (a test may keep its application object to the last).
class TWorkers {
 public:
  ~TWorkers() { JoinAll(); }

  void Start(std::function<void()> work) {
    std::lock_guard<std::mutex> lock(mutex_);
    threads_.emplace_back(std::move(work));
    if (!hooked_ && QCoreApplication::instance()) {
      qAddPostRoutine([] { Instance().JoinAll(); });
      hooked_ = true;
    }
  }

  void JoinAll() {
    std::vector<std::thread> threads;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      threads.swap(threads_);
    }
    for (std::thread& thread : threads) thread.join();
  }

  static TWorkers& Instance() {
    static TWorkers workers;
    return workers;
  }

 private:
  std::mutex mutex_;
  std::vector<std::thread> threads_;
  bool hooked_ = false;
};

std::atomic<unsigned> counter{0};

// Runs in the worker thread.
void Run(const TAliasSettings& settings, const TBackgroundQuery::TWork& work, std::vector<std::string>& values,
         std::string& error, TDatabaseFailure& failure) {
  const QString name = QStringLiteral("markedit-background:%1").arg(++counter);
  try {
    QSqlDatabase db = OpenAliasConnection(settings, name);
    values = work(db);
  } catch (const EDatabaseError& e) {
    error = WithoutCredentials(e.what(), settings);
    failure = e.Kind();
  } catch (const std::exception& e) {
    error = WithoutCredentials(e.what(), settings);
  }
  if (!error.empty()) values.clear();
  QSqlDatabase::removeDatabase(name);
}

}  // namespace

TBackgroundQuery::TBackgroundQuery(const std::string& alias, const std::string& sql, TDone done)
    : TBackgroundQuery(AliasSettings(alias),
                       [sql = QString::fromStdString(sql)](const QSqlDatabase& db) {
                         std::vector<std::string> values;
                         QSqlQuery query(db);
                         query.setForwardOnly(true);
                         if (!query.exec(sql)) {
                           const std::string reason = query.lastError().text().toStdString();
                           throw EDatabaseError(reason.empty() ? "unknown database error" : reason);
                         }
                         while (query.next()) values.push_back(query.value(0).toString().toStdString());
                         return values;
                       },
                       std::move(done)) {}

TBackgroundQuery::TBackgroundQuery(const TAliasSettings& settings, TWork work, TDone done)
    : state_(std::make_shared<TState>()) {
  state_->done = std::move(done);
  std::weak_ptr<TState> answer = state_;
  TWorkers::Instance().Start([settings, work = std::move(work), answer] {
    auto values = std::make_shared<std::vector<std::string>>();
    auto error = std::make_shared<std::string>();
    auto failure = std::make_shared<TDatabaseFailure>(TDatabaseFailure::Other);
    Run(settings, work, *values, *error, *failure);
    if (QCoreApplication* app = QCoreApplication::instance())
      QMetaObject::invokeMethod(
          app,
          [answer, values, error, failure] {
            const std::shared_ptr<TState> state = answer.lock();
            if (!state || !state->done) return;
            const TDone done = std::move(state->done);
            state->done = nullptr;
            done(std::move(*values), std::move(*error), *failure);
          },
          Qt::QueuedConnection);
  });
}

TBackgroundQuery::~TBackgroundQuery() = default;

void TBackgroundQuery::WaitForAll() { TWorkers::Instance().JoinAll(); }
