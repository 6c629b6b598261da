#include "design/select/DsnSubMl.h"

#include "platform/rtl/ClassBuilder.h"

DEFINE_CLASS(TDsnMlRegister, TDsnRegister) {}
