#include "app/Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

// The compiled zh_TW translation (app/CMakeLists.txt embeds it).
extern const unsigned char kTranslationZhTw[];
extern const unsigned long kTranslationZhTwSize;

bool InstallTranslations() {
  static bool installed = false;
  static bool ours = false;
  if (installed) return ours;
  installed = true;
  // The application object owns nothing here: the translators live as long as the program.
  static QTranslator program;
  ours = program.load(kTranslationZhTw, static_cast<int>(kTranslationZhTwSize));
  if (ours) QCoreApplication::installTranslator(&program);
  static QTranslator qt;
  if (qt.load(QStringLiteral("qtbase_zh_TW"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QCoreApplication::installTranslator(&qt);
  return ours;
}
