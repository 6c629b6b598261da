#include "design/select/DsnSub8.h"

#include "platform/rtl/ClassBuilder.h"

DEFINE_CLASS(TNakaueRect, TSmallRect) {}
DEFINE_CLASS(TNakashitaRect, TSmallRect) {}
DEFINE_CLASS(TNakamigiRect, TSmallRect) {}
DEFINE_CLASS(TNakahidariRect, TSmallRect) {}
DEFINE_CLASS(THandler8Rect, THandlerRect) {}

void TNakaueRect::SetControl() {
  if (TControl* t = Target())
    SetBounds(t->Left() + t->Width() / 2 - HandleSize() / 2, t->Top() - 2, HandleSize(), HandleSize());
}

void TNakashitaRect::SetControl() {
  if (TControl* t = Target())
    SetBounds(t->Left() + t->Width() / 2 - HandleSize() / 2, t->Top() + t->Height() - HandleSize() + 2, HandleSize(),
              HandleSize());
}

void TNakamigiRect::SetControl() {
  if (TControl* t = Target())
    SetBounds(t->Left() + t->Width() - HandleSize() + 2, t->Top() + t->Height() / 2 - HandleSize() / 2, HandleSize(),
              HandleSize());
}

void TNakahidariRect::SetControl() {
  if (TControl* t = Target())
    SetBounds(t->Left() - 2, t->Top() + t->Height() / 2 - HandleSize() / 2, HandleSize(), HandleSize());
}

void THandler8Rect::CreateHandles() {
  THandlerRect::CreateHandles();
  Append<TNakaueRect>();
  Append<TNakashitaRect>();
  Append<TNakamigiRect>();
  Append<TNakahidariRect>();
}
