#pragma once
// String lists. TStrings is the interface (controls such as list boxes implement it over their
// widgets); TStringList keeps its strings itself. Comparisons ignore ASCII letter case unless a
// list is made case-sensitive.

#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/Component.h"
#include "platform/rtl/Event.h"

class TStrings : public TPersistent {
  DECLARE_CLASS(TStrings)

 public:
  virtual int Count() const = 0;
  virtual std::string Get(int index) const = 0;
  virtual void Put(int index, const std::string& s);
  virtual TObject* GetObject(int index) const;
  virtual void PutObject(int index, TObject* object);
  virtual void Insert(int index, const std::string& s) = 0;
  virtual void InsertObject(int index, const std::string& s, TObject* object);
  virtual void Delete(int index) = 0;
  virtual void Clear() = 0;
  virtual int IndexOf(std::string_view s) const;
  virtual int Add(const std::string& s);
  int AddObject(const std::string& s, TObject* object);
  void AddStrings(const TStrings& strings);
  virtual void Move(int from, int to);
  virtual void Exchange(int a, int b);

  std::string operator[](int index) const { return Get(index); }
  std::string Strings(int index) const { return Get(index); }
  TObject* Objects(int index) const { return GetObject(index); }

  // "name=value" lines.
  std::string Names(int index) const;
  std::string Values(std::string_view name) const;
  int IndexOfName(std::string_view name) const;

  // The lines, each followed by a line break; setting it splits at "\r\n", "\n" or "\r" (a
  // final line break adds no empty line).
  std::string Text() const;
  void SetText(std::string_view text);
  std::string CommaText() const;

  // Batches changes: OnChange of a TStringList fires once when the outermost update ends.
  void BeginUpdate();
  void EndUpdate();
  bool Equals(const TStrings& other) const;

  void Assign(TPersistent* source) override;
  void DefineProperties(TFiler* filer) override;

 protected:
  virtual bool CaseSensitiveCompare() const { return false; }
  virtual void SetUpdateState(bool updating);
  int UpdateCount() const { return updateCount_; }

 private:
  int updateCount_ = 0;
};

enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStringList : public TStrings {
  DECLARE_CLASS(TStringList)

 public:
  int Count() const override { return static_cast<int>(items_.size()); }
  std::string Get(int index) const override;
  void Put(int index, const std::string& s) override;
  TObject* GetObject(int index) const override;
  void PutObject(int index, TObject* object) override;
  void Insert(int index, const std::string& s) override;
  void InsertObject(int index, const std::string& s, TObject* object) override;
  void Delete(int index) override;
  void Clear() override;
  int IndexOf(std::string_view s) const override;
  int Add(const std::string& s) override;
  // A sorted list keeps its own order: moving and exchanging raise EListError and change nothing.
  void Move(int from, int to) override;
  void Exchange(int a, int b) override;

  bool Sorted() const { return sorted_; }
  void SetSorted(bool sorted);
  TDuplicates Duplicates() const { return duplicates_; }
  void SetDuplicates(TDuplicates d) { duplicates_ = d; }
  bool CaseSensitive() const { return caseSensitive_; }
  void SetCaseSensitive(bool value);
  // Binary search of a sorted list: true when found; `index` is the match or the insert point.
  bool Find(std::string_view s, int& index) const;
  void Sort();

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

 protected:
  bool CaseSensitiveCompare() const override { return caseSensitive_; }
  void SetUpdateState(bool updating) override;

 private:
  struct Item {
    std::string text;
    TObject* object = nullptr;
  };
  size_t Check(int index) const;
  int Compare(std::string_view a, std::string_view b) const;
  void Changing();
  void Changed();

  std::vector<Item> items_;
  bool sorted_ = false;
  bool caseSensitive_ = false;
  TDuplicates duplicates_ = dupIgnore;
};
