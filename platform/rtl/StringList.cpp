#include "platform/rtl/StringList.h"

#include <algorithm>

#include "platform/rtl/ClassBuilder.h"
#include "platform/rtl/Texts.h"

DEFINE_CLASS(TStrings, TPersistent) {}
DEFINE_CLASS(TStringList, TStrings) {}

namespace {
// Runs `change` as one update; the update ends even when `change` raises, so that a failed batch
// doesn't silence the list's change notices for good.
template <class F>
void Batch(TStrings& strings, F&& change) {
  strings.BeginUpdate();
  try {
    change();
  } catch (...) {
    strings.EndUpdate();
    throw;
  }
  strings.EndUpdate();
}
}  // namespace

// ---- TStrings ----

void TStrings::Put(int index, const std::string& s) {
  TObject* object = GetObject(index);
  Delete(index);
  InsertObject(index, s, object);
}

TObject* TStrings::GetObject(int) const { return nullptr; }
void TStrings::PutObject(int, TObject*) {}

void TStrings::InsertObject(int index, const std::string& s, TObject* object) {
  Insert(index, s);
  PutObject(index, object);
}

int TStrings::IndexOf(std::string_view s) const {
  for (int i = 0; i < Count(); ++i)
    if (CaseSensitiveCompare() ? Get(i) == s : SameText(Get(i), s)) return i;
  return -1;
}

int TStrings::Add(const std::string& s) {
  int index = Count();
  Insert(index, s);
  return index;
}

int TStrings::AddObject(const std::string& s, TObject* object) {
  int index = Add(s);
  PutObject(index, object);
  return index;
}

void TStrings::AddStrings(const TStrings& strings) {
  Batch(*this, [&] {
    for (int i = 0; i < strings.Count(); ++i) AddObject(strings.Get(i), strings.GetObject(i));
  });
}

void TStrings::Move(int from, int to) {
  if (from == to) return;
  std::string s = Get(from);
  TObject* object = GetObject(from);
  Batch(*this, [&] {
    Delete(from);
    InsertObject(to, s, object);
  });
}

void TStrings::Exchange(int a, int b) {
  std::string sa = Get(a), sb = Get(b);
  TObject *oa = GetObject(a), *ob = GetObject(b);
  Batch(*this, [&] {
    Put(a, sb);
    PutObject(a, ob);
    Put(b, sa);
    PutObject(b, oa);
  });
}

std::string TStrings::Names(int index) const {
  std::string line = Get(index);
  size_t eq = line.find('=');
  return eq == std::string::npos ? std::string() : line.substr(0, eq);
}

int TStrings::IndexOfName(std::string_view name) const {
  for (int i = 0; i < Count(); ++i) {
    std::string line = Get(i);
    size_t eq = line.find('=');
    if (eq != std::string::npos && SameText(std::string_view(line).substr(0, eq), name)) return i;
  }
  return -1;
}

std::string TStrings::Values(std::string_view name) const {
  int i = IndexOfName(name);
  if (i < 0) return {};
  std::string line = Get(i);
  return line.substr(line.find('=') + 1);
}

std::string TStrings::Text() const {
  std::string text;
  for (int i = 0; i < Count(); ++i) {
    text += Get(i);
    text += '\n';
  }
  return text;
}

void TStrings::SetText(std::string_view text) {
  Batch(*this, [&] {
    Clear();
    size_t start = 0;
    while (start < text.size()) {
      size_t end = text.find_first_of("\r\n", start);
      if (end == std::string_view::npos) end = text.size();
      Add(std::string(text.substr(start, end - start)));
      if (end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n')
        ++end;
      start = end + 1;
    }
  });
}

std::string TStrings::CommaText() const {
  std::string result;
  for (int i = 0; i < Count(); ++i) {
    std::string s = Get(i);
    bool quote = s.empty() || s.find_first_of(" \",") != std::string::npos;
    if (i) result += ',';
    if (!quote) {
      result += s;
      continue;
    }
    result += '"';
    for (char ch : s) {
      if (ch == '"') result += '"';
      result += ch;
    }
    result += '"';
  }
  return result;
}

void TStrings::BeginUpdate() {
  if (updateCount_ == 0) SetUpdateState(true);
  ++updateCount_;
}

void TStrings::EndUpdate() {
  if (updateCount_ > 0 && --updateCount_ == 0) SetUpdateState(false);
}

void TStrings::SetUpdateState(bool) {}

bool TStrings::Equals(const TStrings& other) const {
  if (Count() != other.Count()) return false;
  for (int i = 0; i < Count(); ++i)
    if (Get(i) != other.Get(i)) return false;
  return true;
}

void TStrings::Assign(TPersistent* source) {
  if (auto* strings = dynamic_cast<TStrings*>(source)) {
    if (strings == this) return;
    Batch(*this, [&] {
      Clear();
      AddStrings(*strings);
    });
    return;
  }
  TPersistent::Assign(source);
}

// ---- TStringList ----

size_t TStringList::Check(int index) const {
  if (index < 0 || index >= Count())
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  return static_cast<size_t>(index);
}

int TStringList::Compare(std::string_view a, std::string_view b) const {
  return caseSensitive_ ? a.compare(b) : CompareText(a, b);
}

void TStringList::Changing() {
  if (UpdateCount() == 0) OnChanging(this);
}

void TStringList::Changed() {
  if (UpdateCount() == 0) OnChange(this);
}

void TStringList::SetUpdateState(bool updating) {
  if (updating) Changing();
  else Changed();
}

std::string TStringList::Get(int index) const { return items_[Check(index)].text; }

void TStringList::Put(int index, const std::string& s) {
  if (sorted_) throw EListError("Operation not allowed on sorted list");
  size_t i = Check(index);
  Changing();
  items_[i].text = s;
  Changed();
}

TObject* TStringList::GetObject(int index) const { return items_[Check(index)].object; }

void TStringList::PutObject(int index, TObject* object) {
  size_t i = Check(index);
  Changing();
  items_[i].object = object;
  Changed();
}

void TStringList::Insert(int index, const std::string& s) { InsertObject(index, s, nullptr); }

void TStringList::InsertObject(int index, const std::string& s, TObject* object) {
  if (sorted_) throw EListError("Operation not allowed on sorted list");
  if (index != Count()) Check(index);
  Changing();
  items_.insert(items_.begin() + index, Item{s, object});
  Changed();
}

void TStringList::Delete(int index) {
  size_t i = Check(index);
  Changing();
  items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(i));
  Changed();
}

void TStringList::Clear() {
  if (items_.empty()) return;
  Changing();
  items_.clear();
  Changed();
}

int TStringList::IndexOf(std::string_view s) const {
  if (!sorted_) return TStrings::IndexOf(s);
  int index;
  return Find(s, index) ? index : -1;
}

int TStringList::Add(const std::string& s) {
  if (!sorted_) return TStrings::Add(s);
  int index;
  if (Find(s, index)) {
    if (duplicates_ == dupIgnore) return index;
    if (duplicates_ == dupError) throw EListError("String list does not allow duplicates");
  }
  Changing();
  items_.insert(items_.begin() + index, Item{s, nullptr});
  Changed();
  return index;
}

void TStringList::Move(int from, int to) {
  if (sorted_) throw EListError("Operation not allowed on sorted list");
  TStrings::Move(from, to);
}

void TStringList::Exchange(int a, int b) {
  if (sorted_) throw EListError("Operation not allowed on sorted list");
  TStrings::Exchange(a, b);
}

bool TStringList::Find(std::string_view s, int& index) const {
  int lo = 0, hi = Count() - 1;
  bool found = false;
  while (lo <= hi) {
    int mid = (lo + hi) / 2;
    int c = Compare(items_[static_cast<size_t>(mid)].text, s);
    if (c < 0) {
      lo = mid + 1;
    } else {
      hi = mid - 1;
      if (c == 0) {
        found = true;
        if (duplicates_ != dupAccept) lo = mid;
      }
    }
  }
  index = lo;
  return found;
}

void TStringList::Sort() {
  Changing();
  std::stable_sort(items_.begin(), items_.end(),
                   [this](const Item& a, const Item& b) { return Compare(a.text, b.text) < 0; });
  Changed();
}

void TStringList::SetSorted(bool sorted) {
  if (sorted_ == sorted) return;
  if (sorted) Sort();
  sorted_ = sorted;
}

void TStringList::SetCaseSensitive(bool value) {
  if (caseSensitive_ == value) return;
  caseSensitive_ = value;
  if (sorted_) Sort();
}
