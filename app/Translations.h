#pragma once
// The interface speaks Traditional Chinese: the texts the program adds are written in English in the
// code (tr(), with English source texts) and translated by app/translations/markedit_zh_TW.ts,
// compiled into the program. Qt's own dialogs get Qt's Chinese translations. Both are installed
// whatever the locale, whenever windows are shown; the command line stays English (its messages
// are made before any translation is installed). Another language is one more .ts file.

// Installs both translations once; later calls change nothing. Returns false when the program's
// own cannot be loaded (Qt's are optional: without them Qt's dialogs stay English).
bool InstallTranslations();
