#pragma once
// The eight-handle set: the four corner handles plus four handles at the midpoints of the sides,
// each of which moves one edge only.

#include "design/select/DsnHandle.h"

class TNakaueRect : public TSmallRect {  // top middle
  DECLARE_CLASS(TNakaueRect)

 public:
  void SetControl() override;

 protected:
  TEdges Edges() const override { return {false, true, false, false}; }
  TCursor HandleCursor() const override { return crSizeNS; }
};

class TNakashitaRect : public TSmallRect {  // bottom middle
  DECLARE_CLASS(TNakashitaRect)

 public:
  void SetControl() override;

 protected:
  TEdges Edges() const override { return {false, false, false, true}; }
  TCursor HandleCursor() const override { return crSizeNS; }
};

class TNakamigiRect : public TSmallRect {  // middle right
  DECLARE_CLASS(TNakamigiRect)

 public:
  void SetControl() override;

 protected:
  TEdges Edges() const override { return {false, false, true, false}; }
  TCursor HandleCursor() const override { return crSizeWE; }
};

class TNakahidariRect : public TSmallRect {  // middle left
  DECLARE_CLASS(TNakahidariRect)

 public:
  void SetControl() override;

 protected:
  TEdges Edges() const override { return {true, false, false, false}; }
  TCursor HandleCursor() const override { return crSizeWE; }
};

class THandler8Rect : public THandlerRect {
  DECLARE_CLASS(THandler8Rect)

 public:
  void CreateHandles() override;
};
