#pragma once
// Message boxes: a modal question with a fixed set of buttons, answered by the id of the button
// the user chose.

#include <functional>
#include <string>

#include "platform/win/Windows.h"

// The buttons (low four bits of the type).
constexpr UINT MB_OK = 0x0;
constexpr UINT MB_OKCANCEL = 0x1;
constexpr UINT MB_ABORTRETRYIGNORE = 0x2;
constexpr UINT MB_YESNOCANCEL = 0x3;
constexpr UINT MB_YESNO = 0x4;
constexpr UINT MB_RETRYCANCEL = 0x5;
constexpr UINT MB_TYPEMASK = 0xF;

// The icon.
constexpr UINT MB_ICONHAND = 0x10;
constexpr UINT MB_ICONERROR = MB_ICONHAND;
constexpr UINT MB_ICONSTOP = MB_ICONHAND;
constexpr UINT MB_ICONQUESTION = 0x20;
constexpr UINT MB_ICONEXCLAMATION = 0x30;
constexpr UINT MB_ICONWARNING = MB_ICONEXCLAMATION;
constexpr UINT MB_ICONASTERISK = 0x40;
constexpr UINT MB_ICONINFORMATION = MB_ICONASTERISK;
constexpr UINT MB_ICONMASK = 0xF0;

// The default button, counted from the first in the order listed by the button names above.
constexpr UINT MB_DEFBUTTON1 = 0x000;
constexpr UINT MB_DEFBUTTON2 = 0x100;
constexpr UINT MB_DEFBUTTON3 = 0x200;
constexpr UINT MB_DEFBUTTON4 = 0x300;
constexpr UINT MB_DEFMASK = 0xF00;

// Accepted and ignored: every box is modal to the whole application, and there is no Help button.
constexpr UINT MB_APPLMODAL = 0x0000;
constexpr UINT MB_SYSTEMMODAL = 0x1000;
constexpr UINT MB_TASKMODAL = 0x2000;
constexpr UINT MB_HELP = 0x4000;

// The answers.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDABORT = 3;
constexpr int IDRETRY = 4;
constexpr int IDIGNORE = 5;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// Shows `text` (UTF-8) in a modal box titled `caption` over the window `owner` (0 for none) and
// waits for an answer. The box answers Escape and its close button with Cancel when it has one,
// with OK when OK is its only button, and otherwise with the button Qt treats as rejecting (No,
// Abort).
//
// Gives 0, showing nothing, for an unknown button set. Without a QApplication (no GUI) the text
// goes to stderr and the default button answers.
int MessageBox(HWND owner, const std::string& text, const std::string& caption, UINT type);

// While a hook is set, MessageBox asks it instead of showing a box and returns its answer; tests
// script their answers through it. An empty hook brings the real boxes back.
using TMessageBoxHook =
    std::function<int(const std::string& text, const std::string& caption, UINT type)>;
void SetMessageBoxHook(TMessageBoxHook hook);
