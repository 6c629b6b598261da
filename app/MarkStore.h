#pragma once
// Where the marks are kept: the table md of the alias dbmd, one row per customer number, mark
// number and side, its `data` holding the stage's design stream as the stage wrote it.
//
//   md (customerid varchar(20), mdid varchar(20), flag varchar(1), data blob), key on all three
//
// The editor reads its row when it opens and replaces it when the user saves; nothing else in the
// program touches the table.

#include <exception>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// The alias of the mark database.
inline constexpr const char* kMarkAlias = "dbmd";

// The key of one stored mark.
struct TMarkKey {
  std::string CustomerId;
  std::string MarkId;
  std::string Side;  // "0" the main mark, "1" the side mark
};

// The stored design of `key`, or nothing when the table has no row for it. A row whose data is
// null reads as an empty text. Raises EDatabaseError when the database cannot be reached or read;
// the message names the mark and the driver's reason, never a credential.
std::optional<std::string> ReadMark(const TMarkKey& key, const std::string& alias = kMarkAlias);

// One stored mark as a list of marks shows it: its numbers and the sides the table has rows for.
struct TStoredMark {
  std::string CustomerId;
  std::string MarkId;
  bool Main = false;  // a row of side "0"
  bool Side = false;  // a row of side "1"
};

// Every mark of the table, by customer and then mark number, read from the key columns only
// (never the designs). Raises EDatabaseError as ReadMark does.
std::vector<TStoredMark> ListMarks(const std::string& alias = kMarkAlias);

// Replaces the row of `key` by one holding `data`, whatever it holds, in one transaction: when
// anything fails the transaction is rolled back, the stored row stays as it was, and
// EDatabaseError is raised.
void WriteMark(const TMarkKey& key, const std::string& data, const std::string& alias = kMarkAlias);

// What a save that waits for an unchanged row did.
struct TMarkSaveResult {
  bool Saved = false;
  // When it did not save: what the row holds now (someone else's design), nothing when it is gone.
  std::optional<std::string> Found;
};

// Two clerks may open the same mark; the one who saves later must not overwrite the other's design
// unknowingly. This stores `data` as the row of `key` only while the row still holds `expected`,
// what the caller last read or wrote (nothing: there was no row). In one transaction it first locks
// the row, so that a save of the same mark by another program waits until this one is over: on
// SQLite the transaction begins with the database's write lock (BEGIN IMMEDIATE), elsewhere an
// update of the row's key holds the row. It then reads the row and writes only when it is as
// expected. When another save changed, added or removed the row since, or two first saves inserted
// it at once (the key clash of the later one), nothing is written and the result says what the row
// holds. Failures as for WriteMark.
TMarkSaveResult SaveMarkIfUnchanged(const TMarkKey& key, const std::string& data,
                                    const std::optional<std::string>& expected,
                                    const std::string& alias = kMarkAlias);

// The customer numbers of table md, each once, in order. Raises EDatabaseError when the table
// cannot be read. (Those of the shipment view come in the background: Shipments.h.)
std::vector<std::string> ListCustomers(const std::string& alias = kMarkAlias);

// Both sides of one mark: each the design of its row, nothing for no row.
struct TMarkPair {
  std::optional<std::string> Main;  // side "0"
  std::optional<std::string> Side;  // side "1"
  bool operator==(const TMarkPair& other) const { return Main == other.Main && Side == other.Side; }
};

// Both rows of a mark at once: the two sides of a mark saved under another number, or a mark
// deleted. Locks both rows in one transaction (as SaveMarkIfUnchanged does), reads them, and only
// when they hold `expected` (what the clerk saw) makes them `pair`: a side with a design is
// written, a side with nothing is deleted. Both rows change or neither does. The result says
// whether it was done, and otherwise what the rows hold now. Failures as for WriteMark.
struct TMarkPairResult {
  bool Done = false;
  TMarkPair Found;
};
TMarkPairResult StoreMarkPair(const std::string& customer, const std::string& mark, const TMarkPair& pair,
                              const TMarkPair& expected, const std::string& alias = kMarkAlias);
// What both rows of a mark hold now.
TMarkPair ReadMarkPair(const std::string& customer, const std::string& mark, const std::string& alias = kMarkAlias);

// Tests break a save half-way: while set, the hook is called inside the transaction of a save with
// the step just done: "locked" (the row is locked and as expected, nothing written yet) and
// "written" (the new row is in place, not yet committed).
using TWriteMarkHook = std::function<void(const std::string& step)>;
void SetWriteMarkHook(TWriteMarkHook hook);

// What the user can do about a failed read or write of the mark database, in one sentence;
// empty when there is nothing to say beyond the error itself.
std::string DatabaseAdvice(const std::exception& error);
// A database error as the user reads it: what to do first, then what went wrong.
std::string WithAdvice(const std::exception& error);
// How messages name a side: "正嘜" for "0", "側嘜" for "1", the bare flag otherwise.
std::string MarkSideName(const std::string& side);
