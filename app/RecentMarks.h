#pragma once
// The marks opened last, newest first, kept in win.ini (section RecentMarks: Customer1/Mark1 …
// Customer5/Mark5) so that the File menu lists them in the next session too. Writing changes only
// those keys: every other byte of win.ini stays as it was.

#include <string>
#include <vector>

inline constexpr size_t kRecentMarks = 5;

struct TMarkNumbers {
  std::string CustomerId;
  std::string MarkId;
  bool operator==(const TMarkNumbers& other) const {
    return CustomerId == other.CustomerId && MarkId == other.MarkId;
  }
};

// The list as win.ini holds it; entries with an empty number are left out.
std::vector<TMarkNumbers> ReadRecentMarks();
// Puts `mark` first (once), keeps kRecentMarks, writes the list when it changed and returns it
// (when win.ini cannot be written, the file keeps the old list).
std::vector<TMarkNumbers> RememberRecentMark(const TMarkNumbers& mark);
