// controls-demo: a form with panels, labels, speed buttons and a self-drawn control, to look at
// the standard controls on a desktop.
//
//   controls-demo                      shows the form until it is closed
//   controls-demo --quit-after-shown   shows it and quits at once
//   controls-demo --screenshot FILE    shows it, saves a PNG of the form and quits

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QWidget>

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/controls/Application.h"
#include "platform/controls/Form.h"
#include "platform/controls/Label.h"
#include "platform/controls/Panel.h"
#include "platform/controls/SpeedButton.h"
#include "platform/controls/StdControls.h"

namespace {

// A control that draws a diagonal cross and a red ellipse, and reports where it is clicked.
class CrossBox : public TCustomControl {
 public:
  TLabel* Report = nullptr;

 protected:
  void Paint() override {
    TCanvas* canvas = Canvas();
    TRect r = ClientRect();
    canvas->Brush()->SetColor(clWhite);
    canvas->Pen()->SetColor(clGray);
    canvas->Rectangle(r);
    canvas->Pen()->SetColor(clNavy);
    canvas->Pen()->SetWidth(2);
    canvas->MoveTo(r.Left + 4, r.Top + 4);
    canvas->LineTo(r.Right - 5, r.Bottom - 5);
    canvas->MoveTo(r.Right - 5, r.Top + 4);
    canvas->LineTo(r.Left + 4, r.Bottom - 5);
    canvas->Pen()->SetWidth(1);
    canvas->Pen()->SetColor(clMaroon);
    canvas->Brush()->SetColor(clRed);
    canvas->Ellipse(r.Width() / 2 - 30, r.Height() / 2 - 20, r.Width() / 2 + 30, r.Height() / 2 + 20);
  }
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override {
    TCustomControl::MouseDown(button, shift, x, y);
    if (Report)
      Report->SetCaption("點擊位置：(" + std::to_string(x) + ", " + std::to_string(y) + ")" +
                         (button == mbRight ? " 右鍵" : ""));
  }
};

// A small glyph: a blue mark on a magenta ground that the button leaves out.
TBitmap* MarkGlyph() {
  QImage image(16, 16, QImage::Format_RGB32);
  image.fill(QColor(255, 0, 255));
  QPainter p(&image);
  p.setPen(QColor(0, 0, 128));
  p.setBrush(QColor(64, 128, 255));
  p.drawRect(2, 3, 11, 9);
  p.setPen(Qt::white);
  p.drawLine(4, 6, 11, 6);
  p.drawLine(4, 9, 9, 9);
  p.end();
  auto* glyph = New<TBitmap>();
  glyph->SetImage(image);
  return glyph;
}

// Controls are owned by the form and placed on `parent`.
TForm* form = nullptr;

template <class T>
T* Add(TWinControl* parent, TRect bounds) {
  auto* control = New<T>(form);
  control->SetParent(parent);
  control->SetBoundsRect(bounds);
  return control;
}

TSpeedButton* AddButton(TWinControl* parent, int left, const std::string& caption, int group) {
  auto* button = Add<TSpeedButton>(parent, Bounds(left, 5, 28, 26));
  button->SetCaption(caption);
  button->SetGroupIndex(group);
  return button;
}

void BuildForm() {
  form->SetCaption("控制項示範");
  form->SetPosition(poScreenCenter);
  form->SetClientWidth(640);
  form->SetClientHeight(420);
  form->Font()->SetHeight(-13);

  auto* bar = Add<TPanel>(form, Bounds(0, 0, 640, 36));
  bar->SetAlign(alTop);
  bar->SetCaption("工具列");
  bar->SetAlignment(taRightJustify);
  bar->SetBorderWidth(8);
  AddButton(bar, 6, "左", 1);
  AddButton(bar, 34, "中", 1)->SetDown(true);
  AddButton(bar, 62, "右", 1);
  auto* glyphButton = AddButton(bar, 100, "嘜頭", 0);
  glyphButton->SetWidth(72);
  TBitmap* glyph = MarkGlyph();
  glyphButton->SetGlyph(glyph);
  glyph->Free();
  auto* flat = AddButton(bar, 178, "平", 0);
  flat->SetFlat(true);

  auto* client = Add<TPanel>(form, Bounds(0, 36, 640, 384));
  client->SetAlign(alClient);
  client->SetBevelOuter(bvLowered);
  client->SetBorderWidth(4);

  auto* title = Add<TLabel>(client, Bounds(16, 14, 10, 10));
  title->Font()->SetName("新細明體");
  title->Font()->SetHeight(-28);
  title->Font()->SetColor(clNavy);
  title->SetCaption("嘜頭編輯程式");

  auto* right = Add<TLabel>(client, Bounds(16, 62, 290, 20));
  right->SetAutoSize(false);
  right->SetAlignment(taRightJustify);
  right->SetCaption("靠右對齊：客戶編號 C001");

  // Wrapped to the width it is given: sized only once width, wrapping and text are set.
  auto* wrapped = Add<TLabel>(client, Bounds(16, 92, 290, 20));
  wrapped->SetAutoSize(false);
  wrapped->SetWordWrap(true);
  wrapped->SetCaption(
      "自動換行的說明文字：嘜頭上的每個欄位都可以連結到資料表的欄位，列印時再依出貨資料填入。"
      "Word-wrapped text breaks between words and ideographs.");
  wrapped->SetAutoSize(true);

  auto* centred = Add<TLabel>(client, Bounds(16, 190, 290, 64));
  centred->SetAutoSize(false);
  centred->SetAlignment(taCenter);
  centred->SetLayout(tlCenter);
  centred->SetColor(clWhite);
  centred->SetCaption("置中（水平與垂直）");

  auto* disabled = Add<TLabel>(client, Bounds(16, 268, 10, 10));
  disabled->SetEnabled(false);
  disabled->SetCaption("停用的標籤 Disabled");

  auto* report = Add<TLabel>(client, Bounds(330, 290, 280, 20));
  report->SetAutoSize(false);
  report->SetCaption("請點擊上方的圖形。");

  auto* box = New<CrossBox>(form);
  box->SetParent(client);
  box->SetBounds(330, 14, 280, 264);
  box->Report = report;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("controls-demo"));
  std::string screenshot;
  bool quitAfterShown = false;
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--quit-after-shown")) {
      quitAfterShown = true;
    } else if (!std::strcmp(argv[i], "--screenshot") && i + 1 < argc) {
      screenshot = argv[++i];
    } else {
      std::fprintf(stderr, "usage: controls-demo [--quit-after-shown | --screenshot FILE]\n");
      return 2;
    }
  }

  ApplicationInstance()->Initialize();
  RegisterStandardControls();
  Application->CreateForm(form);
  BuildForm();

  int status = 0;
  if (quitAfterShown || !screenshot.empty()) {
    form->Show();
    QWidget* widget = WindowWidget(form->Handle());
    for (int i = 0; i < 10; ++i) Application->ProcessMessages();
    if (!screenshot.empty() && !widget->grab().save(QString::fromStdString(screenshot), "PNG")) {
      std::fprintf(stderr, "controls-demo: cannot write %s\n", screenshot.c_str());
      status = 1;
    }
  } else {
    Application->Run();
  }
  Application->Free();
  return status;
}
