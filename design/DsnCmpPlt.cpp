#include "design/DsnCmpPlt.h"

#include "platform/rtl/ClassBuilder.h"

DEFINE_CLASS(TCustomCmpPlt, TPanel) {}
