#include "platform/rtl/IntegerConsts.h"

#define ENTRY(name) {name, #name}

const TIdentMap& ColorIdents() {
  // Where two names share a value, the first is the one written.
  static const TIdentMap map = {
      ENTRY(clBlack), ENTRY(clMaroon), ENTRY(clGreen), ENTRY(clOlive), ENTRY(clNavy),
      ENTRY(clPurple), ENTRY(clTeal), ENTRY(clGray), ENTRY(clSilver), ENTRY(clRed), ENTRY(clLime),
      ENTRY(clYellow), ENTRY(clBlue), ENTRY(clFuchsia), ENTRY(clAqua), ENTRY(clWhite),
      ENTRY(clMoneyGreen), ENTRY(clSkyBlue), ENTRY(clCream), ENTRY(clMedGray),
      ENTRY(clScrollBar), ENTRY(clBackground), ENTRY(clActiveCaption), ENTRY(clInactiveCaption),
      ENTRY(clMenu), ENTRY(clWindow), ENTRY(clWindowFrame), ENTRY(clMenuText),
      ENTRY(clWindowText), ENTRY(clCaptionText), ENTRY(clActiveBorder), ENTRY(clInactiveBorder),
      ENTRY(clAppWorkSpace), ENTRY(clHighlight), ENTRY(clHighlightText), ENTRY(clBtnFace),
      ENTRY(clBtnShadow), ENTRY(clGrayText), ENTRY(clBtnText), ENTRY(clInactiveCaptionText),
      ENTRY(clBtnHighlight), ENTRY(cl3DDkShadow), ENTRY(cl3DLight), ENTRY(clInfoText),
      ENTRY(clInfoBk), ENTRY(clNone), ENTRY(clDefault),
      // Accepted when read, never written.
      ENTRY(clLtGray), ENTRY(clDkGray),
  };
  return map;
}

const TIdentMap& CharsetIdents() {
  static const TIdentMap map = {
      ENTRY(ANSI_CHARSET), ENTRY(DEFAULT_CHARSET), ENTRY(SYMBOL_CHARSET), ENTRY(MAC_CHARSET),
      ENTRY(SHIFTJIS_CHARSET), ENTRY(HANGEUL_CHARSET), ENTRY(JOHAB_CHARSET),
      ENTRY(GB2312_CHARSET), ENTRY(CHINESEBIG5_CHARSET), ENTRY(GREEK_CHARSET),
      ENTRY(TURKISH_CHARSET), ENTRY(VIETNAMESE_CHARSET), ENTRY(HEBREW_CHARSET),
      ENTRY(ARABIC_CHARSET), ENTRY(BALTIC_CHARSET), ENTRY(RUSSIAN_CHARSET), ENTRY(THAI_CHARSET),
      ENTRY(EASTEUROPE_CHARSET), ENTRY(OEM_CHARSET),
  };
  return map;
}

#undef ENTRY

const TTypeInfo& ColorType() {
  static const TTypeInfo info = TTypeInfo::IntegerConsts("TColor", ColorIdents());
  return info;
}

const TTypeInfo& CharsetType() {
  static const TTypeInfo info = TTypeInfo::IntegerConsts("TFontCharset", CharsetIdents());
  return info;
}
