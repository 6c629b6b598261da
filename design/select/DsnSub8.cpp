#include "design/select/DsnSub8.h"

#include "platform/rtl/ClassBuilder.h"

DEFINE_CLASS(TNakaueRect, TSmallRect) {}
DEFINE_CLASS(TNakashitaRect, TSmallRect) {}
DEFINE_CLASS(TNakamigiRect, TSmallRect) {}
DEFINE_CLASS(TNakahidariRect, TSmallRect) {}
DEFINE_CLASS(THandler8Rect, THandlerRect) {}

void THandler8Rect::CreateHandles() {
  THandlerRect::CreateHandles();
  Append<TNakaueRect>();
  Append<TNakashitaRect>();
  Append<TNakamigiRect>();
  Append<TNakahidariRect>();
}
