#include "app/RecentMarks.h"

#include <algorithm>

#include "platform/win/Profile.h"

namespace {

constexpr char kFile[] = "win.ini";
constexpr char kSection[] = "RecentMarks";

std::string Key(const char* name, size_t index) { return name + std::to_string(index + 1); }

// The reader drops the blanks around a value and one pair of quotes enclosing it: quoted, a
// number keeps the blanks it was stored with.
std::string Quoted(const std::string& value) { return "\"" + value + "\""; }

}  // namespace

std::vector<TMarkNumbers> ReadRecentMarks() {
  std::vector<TMarkNumbers> marks;
  for (size_t i = 0; i < kRecentMarks; ++i) {
    TMarkNumbers mark{GetPrivateProfileString(kSection, Key("Customer", i), "", kFile),
                      GetPrivateProfileString(kSection, Key("Mark", i), "", kFile)};
    if (!mark.CustomerId.empty() && !mark.MarkId.empty() && std::find(marks.begin(), marks.end(), mark) == marks.end())
      marks.push_back(std::move(mark));
  }
  return marks;
}

std::vector<TMarkNumbers> RememberRecentMark(const TMarkNumbers& mark) {
  std::vector<TMarkNumbers> marks = ReadRecentMarks();
  if (mark.CustomerId.empty() || mark.MarkId.empty()) return marks;
  if (!marks.empty() && marks.front() == mark) return marks;  // first already: nothing to write
  marks.erase(std::remove(marks.begin(), marks.end(), mark), marks.end());
  marks.insert(marks.begin(), mark);
  if (marks.size() > kRecentMarks) marks.resize(kRecentMarks);
  std::vector<std::pair<std::string, std::string>> values;
  for (size_t i = 0; i < kRecentMarks; ++i) {
    const TMarkNumbers entry = i < marks.size() ? marks[i] : TMarkNumbers{};
    values.emplace_back(Key("Customer", i), Quoted(entry.CustomerId));
    values.emplace_back(Key("Mark", i), Quoted(entry.MarkId));
  }
  WritePrivateProfileStrings(kSection, values, kFile);
  return marks;
}
