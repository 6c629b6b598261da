#include "app/MarkPolicy.h"

#include "mark/Barcode.h"
#include "mark/MarkImage.h"
#include "mark/MarkLine.h"
#include "mark/shape2.h"
#include "platform/controls/DBText.h"
#include "platform/controls/Label.h"

const TReadPolicy& MarkReadPolicy() {
  static const TReadPolicy policy = [] {
    TReadPolicy p;
    p.Classes = {&TLabel::StaticClass(), &tshape2::StaticClass(), &TDBText::StaticClass(), &TMarkLine::StaticClass(),
                 &TBarcode::StaticClass(), &TMarkImage::StaticClass()};
    p.OutsideNames = {kMarkMenuName};
    p.ChildRecords = false;
    // Positions and sizes travel in the design messages as 16-bit halves; a font beyond a
    // thousand pixels is no text of a carton. Marks beyond these are damaged.
    for (const char* bound : {"Left", "Top", "Width", "Height"}) p.Ranges.push_back({bound, -32768, 32767});
    p.Ranges.push_back({"Font.Height", -1000, 1000});
    return p;
  }();
  return policy;
}
