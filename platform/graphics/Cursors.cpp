#include "platform/graphics/Cursors.h"

#define ENTRY(name) {name, #name}

const TIdentMap& CursorIdents() {
  // crSize shares crSizeAll's number and comes last, so it is read but never written.
  static const TIdentMap map = {
      ENTRY(crDefault), ENTRY(crNone), ENTRY(crArrow), ENTRY(crCross), ENTRY(crIBeam),
      ENTRY(crSizeNESW), ENTRY(crSizeNS), ENTRY(crSizeNWSE), ENTRY(crSizeWE), ENTRY(crUpArrow),
      ENTRY(crHourGlass), ENTRY(crDrag), ENTRY(crNoDrop), ENTRY(crHSplit), ENTRY(crVSplit),
      ENTRY(crMultiDrag), ENTRY(crSQLWait), ENTRY(crNo), ENTRY(crAppStart), ENTRY(crHelp),
      ENTRY(crHandPoint), ENTRY(crSizeAll), ENTRY(crSize),
  };
  return map;
}

#undef ENTRY

const TTypeInfo& CursorType() {
  static const TTypeInfo info = TTypeInfo::IntegerConsts("TCursor", CursorIdents());
  return info;
}

QCursor ToQCursor(TCursor cursor) {
  switch (cursor) {
    case crNone: return QCursor(Qt::BlankCursor);
    case crCross: return QCursor(Qt::CrossCursor);
    case crIBeam: return QCursor(Qt::IBeamCursor);
    case crSizeNESW: return QCursor(Qt::SizeBDiagCursor);
    case crSizeNS: return QCursor(Qt::SizeVerCursor);
    case crSizeNWSE: return QCursor(Qt::SizeFDiagCursor);
    case crSizeWE: return QCursor(Qt::SizeHorCursor);
    case crUpArrow: return QCursor(Qt::UpArrowCursor);
    case crHourGlass: return QCursor(Qt::WaitCursor);
    case crDrag: return QCursor(Qt::DragMoveCursor);
    case crNoDrop: return QCursor(Qt::ForbiddenCursor);
    case crHSplit: return QCursor(Qt::SplitHCursor);
    case crVSplit: return QCursor(Qt::SplitVCursor);
    case crMultiDrag: return QCursor(Qt::DragCopyCursor);
    case crSQLWait: return QCursor(Qt::WaitCursor);
    case crNo: return QCursor(Qt::ForbiddenCursor);
    case crAppStart: return QCursor(Qt::BusyCursor);
    case crHelp: return QCursor(Qt::WhatsThisCursor);
    case crHandPoint: return QCursor(Qt::PointingHandCursor);
    case crSizeAll: return QCursor(Qt::SizeAllCursor);
    default: return QCursor(Qt::ArrowCursor);
  }
}
