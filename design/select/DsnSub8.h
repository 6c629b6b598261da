#pragma once
// The eight-handle set: the four corner handles plus four handles at the midpoints of the sides,
// each of which moves one edge only.

#include "design/select/DsnHandle.h"

class TNakaueRect : public TSmallRect {  // top middle
  DECLARE_CLASS(TNakaueRect)

 protected:
  TEdges Edges() const override { return {false, true, false, false}; }
};

class TNakashitaRect : public TSmallRect {  // bottom middle
  DECLARE_CLASS(TNakashitaRect)

 protected:
  TEdges Edges() const override { return {false, false, false, true}; }
};

class TNakamigiRect : public TSmallRect {  // middle right
  DECLARE_CLASS(TNakamigiRect)

 protected:
  TEdges Edges() const override { return {false, false, true, false}; }
};

class TNakahidariRect : public TSmallRect {  // middle left
  DECLARE_CLASS(TNakahidariRect)

 protected:
  TEdges Edges() const override { return {true, false, false, false}; }
};

class THandler8Rect : public THandlerRect {
  DECLARE_CLASS(THandler8Rect)

 public:
  void CreateHandles() override;
};
