#pragma once
// Small component classes that exercise every kind of published property, sub-objects,
// collections, string lists, custom properties, references, events and parent/child records.
// The stream tests, the stream benchmark and the stream fuzzer share them.

#include <string>
#include <vector>

#include "platform/rtl/Collection.h"
#include "platform/rtl/Component.h"
#include "platform/rtl/Event.h"
#include "platform/rtl/IntegerConsts.h"
#include "platform/rtl/StringList.h"

ENUMERATION(TSampleAlign, smpLeft, smpRight, smpCenter)
ENUMERATION(TSampleStyle, smpBold, smpItalic, smpUnderline, smpStrikeOut)
SET_OF(TSampleStyles, TSampleStyle)

class TSampleFont : public TPersistent {
  DECLARE_CLASS(TSampleFont)

 public:
  std::string Name() const { return name_; }
  void SetName(const std::string& v) { name_ = v; }
  int Height() const { return height_; }
  void SetHeight(int v) { height_ = v; }
  TColor Color() const { return color_; }
  void SetColor(TColor v) { color_ = v; }
  TFontCharset Charset() const { return charset_; }
  void SetCharset(TFontCharset v) { charset_ = v; }
  TSampleStyles Style() const { return style_; }
  void SetStyle(TSampleStyles v) { style_ = v; }
  void Assign(TPersistent* source) override;

 private:
  std::string name_ = "MS Sans Serif";
  int height_ = -11;
  TColor color_ = clWindowText;
  TFontCharset charset_ = DEFAULT_CHARSET;
  TSampleStyles style_;
};

class TSampleItem : public TCollectionItem {
  DECLARE_CLASS(TSampleItem)

 public:
  int Width() const { return width_; }
  void SetWidth(int v) { width_ = v; }
  std::string Text() const { return text_; }
  void SetText(const std::string& v) { text_ = v; }

 private:
  int width_ = 50;
  std::string text_;
};

class TSampleLabel : public TComponent {
  DECLARE_CLASS(TSampleLabel)

 public:
  void Create(TComponent* owner) override;
  int Left() const { return left_; }
  void SetLeft(int v) { left_ = v; }
  int Top() const { return top_; }
  void SetTop(int v) { top_ = v; }
  int Width() const { return width_; }
  void SetWidth(int v) { width_ = v; }
  int Height() const { return height_; }
  void SetHeight(int v) { height_ = v; }
  std::string Caption() const { return caption_; }
  void SetCaption(const std::string& v) { caption_ = v; }
  TSampleFont* Font() const { return font_; }
  void SetFont(TSampleFont* v) { font_->Assign(v); }
  TSampleAlign Alignment() const { return alignment_; }
  void SetAlignment(TSampleAlign v) { alignment_ = v; }
  bool Visible() const { return visible_; }
  void SetVisible(bool v) { visible_ = v; }
  TColor Color() const { return color_; }
  void SetColor(TColor v) { color_ = v; }
  TComponent* Buddy() const { return buddy_; }
  void SetBuddy(TComponent* v);
  TStringList* Items() const { return items_; }
  void SetItems(TStringList* v) { items_->Assign(v); }
  TCollection* Columns() const { return columns_; }
  void SetColumns(TCollection* v) { columns_->Assign(v); }

  // Values of the less common kinds.
  double Ratio = 0;
  float Scale = 0;
  double Price = 0;
  double When = 0;
  int64_t Big = 0;
  char Initial = 'A';
  std::string Wide;
  std::string GeneName;                  // custom property, always written
  std::vector<unsigned char> Picture;    // custom binary property, written when not empty
  TNotifyEvent OnClick;

  TComponent* ParentComponent() const { return parent_; }
  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override { return parent_; }
  void SetParentComponent(TComponent* parent) override;
  void Notification(TComponent* component, TOperation operation) override;
  void DefineProperties(TFiler* filer) override;

 protected:
  void Destroy() override;

 private:
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  std::string caption_;
  TSampleFont* font_ = nullptr;
  TSampleAlign alignment_ = smpLeft;
  bool visible_ = true;
  TColor color_ = clBtnFace;
  TComponent* buddy_ = nullptr;
  TStringList* items_ = nullptr;
  TCollection* columns_ = nullptr;
  TComponent* parent_ = nullptr;
};

// A label that holds other labels; its children are written inside its record.
class TSamplePanel : public TSampleLabel {
  DECLARE_CLASS(TSamplePanel)

 public:
  void GetChildren(const TGetChildProc& proc, TComponent* root) override;
  void SetChildOrder(TComponent* child, int order) override;
  std::vector<TSampleLabel*> Children;

 protected:
  void Destroy() override;
};

// A window-like root: published fields for the components it declares and methods that streams
// may name as handlers. It writes its parentless components as its children.
class TSampleForm : public TComponent {
  DECLARE_CLASS(TSampleForm)

 public:
  void GetChildren(const TGetChildProc& proc, TComponent* root) override;
  void LabelClick(TObject* sender);
  void OtherClick(TObject* sender);

  TSampleLabel* Label1 = nullptr;
  TSamplePanel* Panel1 = nullptr;
  std::vector<TObject*> Clicks;  // senders of LabelClick, in order
};

// A class that no sample root declares and that is not registered.
class TSampleStranger : public TSampleLabel {
  DECLARE_CLASS(TSampleStranger)
};
