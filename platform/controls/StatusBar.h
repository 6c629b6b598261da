#pragma once
// TStatusBar: Qt's status bar along the bottom of a form, divided into panels.
//
// Each panel is Width pixels wide (wider when its text needs more: a text is never cut), except
// the last, which reaches to the right end; its text is aligned and framed as the panel says. With SimplePanel on, one panel across the whole bar shows
// SimpleText instead. The panels use the bar's font: a change of the font restyles them, and the
// bar grows to fit a larger one. A stream stores the panels as a collection:
//   Panels = < item Width = 200 end >

#include <QPointer>

#include <string>
#include <vector>

#include "platform/controls/WinControl.h"
#include "platform/rtl/Collection.h"

class QLabel;
class TStatusBar;

ENUMERATION(TStatusPanelBevel, pbNone, pbLowered, pbRaised)

class TStatusPanel : public TCollectionItem {
  DECLARE_CLASS(TStatusPanel)

 public:
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment v);
  TStatusPanelBevel Bevel() const { return bevel_; }
  void SetBevel(TStatusPanelBevel v);
  const std::string& Text() const { return text_; }
  void SetText(const std::string& v);
  int Width() const { return width_; }
  void SetWidth(int v);

  void Assign(TPersistent* source) override;
  std::string GetDisplayName() override;

 private:
  TAlignment alignment_ = taLeftJustify;
  TStatusPanelBevel bevel_ = pbLowered;
  std::string text_;
  int width_ = 50;
};

class TStatusPanels : public TCollection {
  DECLARE_CLASS(TStatusPanels)

 public:
  void Create(TStatusBar* bar);
  TStatusPanel* Items(int index) const { return static_cast<TStatusPanel*>(TCollection::Items(index)); }
  TStatusPanel* Add() { return static_cast<TStatusPanel*>(TCollection::Add()); }
  TPersistent* GetOwner() override;

 protected:
  void Update(TCollectionItem* item) override;

 private:
  TStatusBar* bar_ = nullptr;
};

class TStatusBar : public TWinControl {
  DECLARE_CLASS(TStatusBar)

 public:
  void Create(TComponent* owner) override;

  TStatusPanels* Panels() const { return panels_; }
  void SetPanels(TStatusPanels* v) { panels_->Assign(v); }
  bool SimplePanel() const { return simplePanel_; }
  void SetSimplePanel(bool v);
  const std::string& SimpleText() const { return simpleText_; }
  void SetSimpleText(const std::string& v);
  // The grip in the bottom-right corner that resizes the window.
  bool SizeGrip() const { return sizeGrip_; }
  void SetSizeGrip(bool v);

  // The Qt label that shows panel `index`, or the simple panel for -1; null without a window.
  QLabel* PanelLabel(int index) const;

  bool IsColorStored() const { return !ParentColor(); }
  bool IsFontStored() const { return !ParentFont(); }

  void Dispatch(TMessage& message) override;

 protected:
  void Destroy() override;
  void Loaded() override;
  QWidget* CreateWidget() override;
  void CreateWnd() override;

 private:
  friend class TStatusPanels;
  // Makes the labels again after panels were added, removed or reordered.
  void UpdatePanels();
  void UpdatePanel(int index);
  void UpdateSimplePanel();
  // Grows the bar to fit its font.
  void FitFont();

  TStatusPanels* panels_ = nullptr;
  bool simplePanel_ = false;
  std::string simpleText_;
  bool sizeGrip_ = true;
  std::vector<QPointer<QLabel>> labels_;
  QPointer<QLabel> simpleLabel_;
};
