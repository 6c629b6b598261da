#pragma once
// 資料庫設定: the alias dbmd of the clerk's dbalias.ini, edited in a dialog. The fields start from
// the alias in effect (the clerk's, else the system's); the dialog never writes a password: one
// already in the clerk's file is kept, shown only as set, and may be removed.
//
// 測試連線 connects on a thread of its own (the server may never answer; the windows do meanwhile)
// and says within 5 seconds what the program needs and the database lacks. 建立資料表 makes md on
// an SQLite file or a PostgreSQL database without one. 儲存 checks the fields, connects, asks
// BeforeSave (the main window: the editors' unsaved changes go to the old database or are
// dropped), writes only the keys of [dbmd] and calls AfterSave (the editors read their mark
// again, from the new database). A field that is wrong is named and nothing is written.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QTimer>

#include "platform/controls/Form.h"
#include "platform/db/BackgroundQuery.h"
#include "platform/db/DatabaseAliases.h"

class TBitBtn;
class TComboBox;
class TEdit;
class TLabel;

class Tfmdbset : public TForm {
  DECLARE_CLASS(Tfmdbset)

 public:
  void FormShow(TObject* sender);
  void ComboDriverChange(TObject* sender);
  void BrowseButtonClick(TObject* sender);
  void RemovePasswordButtonClick(TObject* sender);
  void TestButtonClick(TObject* sender);
  void CreateButtonClick(TObject* sender);
  void SaveButtonClick(TObject* sender);

  // How long a connection may take before the dialog gives up on it.
  static constexpr int kAnswerMs = 5000;

  std::function<bool()> BeforeSave;  // false: the clerk cancelled, nothing is written
  std::function<void()> AfterSave;

  // True while a connection is being tried.
  bool Busy() const { return work_ != nullptr; }

  TLabel* LabelDriver = nullptr;
  TComboBox* ComboDriver = nullptr;
  TLabel* LabelDatabase = nullptr;
  TEdit* EditDatabase = nullptr;
  TBitBtn* BrowseButton = nullptr;
  TLabel* LabelHost = nullptr;
  TEdit* EditHost = nullptr;
  TLabel* LabelPort = nullptr;
  TEdit* EditPort = nullptr;
  TLabel* LabelUser = nullptr;
  TEdit* EditUser = nullptr;
  TLabel* LabelOptions = nullptr;
  TEdit* EditOptions = nullptr;
  TLabel* LabelPassword = nullptr;
  TLabel* PasswordState = nullptr;
  TBitBtn* RemovePasswordButton = nullptr;
  TLabel* PasswordAdvice = nullptr;
  TLabel* ResultLabel = nullptr;
  TBitBtn* TestButton = nullptr;
  TBitBtn* CreateButton = nullptr;
  TBitBtn* SaveButton = nullptr;
  TBitBtn* CancelButton = nullptr;

 protected:
  void Destroy() override;

 private:
  enum class TStep { Test, Create, Save };
  struct TAnswer;

  std::string Driver() const;
  // Labels and enables the fields the chosen kind of database uses.
  void ShowDriverFields();
  // The settings the fields describe; empty, with the field named in `wrong`, when one is wrong.
  bool ReadFields(TAliasSettings& settings, std::string& wrong);
  void ShowPassword();
  void Start(TStep step);
  void Answered(TStep step, const TAliasSettings& settings, std::vector<std::string> values, std::string error,
                TDatabaseFailure failure);
  void GiveUp();
  void Say(const std::string& text);
  void SetWorking(bool working);
  std::string FailureText(const TAliasSettings& settings, const std::string& error, TDatabaseFailure failure) const;
  void Save(const TAliasSettings& settings);

  std::string password_;        // the clerk's file's, kept unless removed
  bool removePassword_ = false;
  std::unique_ptr<TBackgroundQuery> work_;
  TAliasSettings trying_;  // what work_ connects to, for the words when it is given up on
  std::unique_ptr<QTimer> deadline_;
  std::string madeFile_;  // an SQLite file 建立資料表 made empty, removed again if the table fails
};
