#include "app/MarkPolicy.h"

#include "mark/shape2.h"
#include "platform/controls/DBText.h"
#include "platform/controls/Label.h"

const TReadPolicy& MarkReadPolicy() {
  static const TReadPolicy policy = [] {
    TReadPolicy p;
    p.Classes = {&TLabel::StaticClass(), &tshape2::StaticClass(), &TDBText::StaticClass()};
    p.OutsideNames = {kMarkMenuName};
    p.ChildRecords = false;
    return p;
  }();
  return policy;
}
