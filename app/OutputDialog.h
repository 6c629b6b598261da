#pragma once
// The output dialog: what a clerk chooses before a mark is previewed, printed or written to a
// file. The shipment (one of the customer's export documents, or none: the design itself), the
// sides, the printed width in millimetres (remembered for the user in win.ini) and, for a picture,
// its dots per inch.

#include <optional>
#include <string>
#include <vector>

#include "app/MarkOutput.h"

class QWidget;

enum class TOutputKind { Preview, Print, Pdf, Svg, Png };

struct TOutputChoice {
  std::string Bill;  // empty: the design itself
  TMarkSides Sides = TMarkSides::Main;
  double WidthMm = kDefaultMarkWidthMm;
  int Dpi = 300;
};

// The width the user chose last, or the default one.
double RememberedMarkWidthMm();
void RememberMarkWidthMm(double widthMm);

// Shows the dialog over `parent`, offering `bills`, with `sides` chosen; nothing when cancelled.
// Its widgets are named for tests: "bill", "sides", "width", "dpi".
std::optional<TOutputChoice> AskOutputChoice(QWidget* parent, TOutputKind kind, const std::vector<std::string>& bills,
                                             TMarkSides sides);
