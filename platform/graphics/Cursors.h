#pragma once
// Mouse cursors: the framework's cursor numbers, their names for the stream, and the Qt cursors
// they show as.

#include <cstdint>

#include <QCursor>

#include "platform/rtl/TypInfo.h"

using TCursor = int16_t;

constexpr TCursor crDefault = 0;
constexpr TCursor crNone = -1;
constexpr TCursor crArrow = -2;
constexpr TCursor crCross = -3;
constexpr TCursor crIBeam = -4;
constexpr TCursor crSizeNESW = -6;
constexpr TCursor crSizeNS = -7;
constexpr TCursor crSizeNWSE = -8;
constexpr TCursor crSizeWE = -9;
constexpr TCursor crUpArrow = -10;
constexpr TCursor crHourGlass = -11;
constexpr TCursor crDrag = -12;
constexpr TCursor crNoDrop = -13;
constexpr TCursor crHSplit = -14;
constexpr TCursor crVSplit = -15;
constexpr TCursor crMultiDrag = -16;
constexpr TCursor crSQLWait = -17;
constexpr TCursor crNo = -18;
constexpr TCursor crAppStart = -19;
constexpr TCursor crHelp = -20;
constexpr TCursor crHandPoint = -21;
constexpr TCursor crSizeAll = -22;
constexpr TCursor crSize = -22;  // the older name of crSizeAll

// The type to give cursor properties (`.Type(CursorType())`): the stream writes the names.
const TTypeInfo& CursorType();
const TIdentMap& CursorIdents();

// The Qt cursor of a framework cursor; crDefault and unknown numbers give the arrow.
QCursor ToQCursor(TCursor cursor);
