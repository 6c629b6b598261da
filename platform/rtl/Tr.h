#pragma once
// Texts a user may read are written in English and translated through Qt's translation system. A
// file declares its translation context once, as lupdate reads it:
//
//   namespace {
//   struct Texts {
//     Q_DECLARE_TR_FUNCTIONS(Reader)
//   };
//   }
//
// and writes Tr(Texts::tr("Class %1 may not be read here"), name). Translations are installed
// only where windows are shown, so that the command line stays English.

#include <QCoreApplication>
#include <QString>

#include <string>

inline std::string Tr(const QString& translated) { return translated.toStdString(); }

// %1, %2 … replaced by the arguments in one pass (an argument holding "%1" stays as it is).
template <class... Args>
std::string Tr(const QString& translated, const Args&... args) {
  return translated.arg(QString::fromStdString(args)...).toStdString();
}
