#pragma once
// The clipboard, over the Qt clipboard of the desktop.
//
// Formats are numbers. CF_TEXT and CF_UNICODETEXT are the desktop's plain text ("text/plain"):
// a CF_TEXT block holds UTF-8 and a CF_UNICODETEXT block UTF-16, each ending in a zero character.
// A registered format carries raw bytes under the MIME type
//   application/x-qt-windows-mime;value="<name>"
// so that every program that registers the same name, this one in another process included, finds
// the same data. Other formats are not kept (SetClipboardData refuses them).
//
// The protocol is the platform's: open the clipboard, empty it to replace its contents (or leave
// that out to add to them), hand blocks over with SetClipboardData, close it. What was written
// goes onto the desktop's clipboard as one piece when the clipboard is closed. Reading needs the
// clipboard open too, except for IsClipboardFormatAvailable.
//
// Blocks (see GlobalMemory.h): a block handed to SetClipboardData belongs to the clipboard from
// then on; its owner may lock and read it until the clipboard is closed, but must not write or free
// it. The clipboard copies its bytes when it closes and then frees it, or frees it earlier when the
// clipboard is emptied or the format is set again. A block from GetClipboardData belongs to the
// clipboard likewise and lives until the clipboard is closed or emptied. When SetClipboardData
// fails, the block stays with its owner.
//
// Only the GUI thread may use the clipboard, and only while a QGuiApplication exists: without one
// OpenClipboard fails and no format is available.

#include <string>

#include "platform/win/GlobalMemory.h"
#include "platform/win/Windows.h"

constexpr UINT CF_TEXT = 1;
constexpr UINT CF_UNICODETEXT = 13;

// The id of a named format, the same for names that differ only in case: the first spelling
// registered is kept. Ids start at 0xC000. 0 for an empty name, for a name holding a double
// quote, a backslash or a control character (it could not stand in a MIME type), or once the
// 16,384 ids are spent.
UINT RegisterClipboardFormat(const std::string& name);
// The registered name of a format; empty for one that is not registered.
std::string GetClipboardFormatName(UINT format);
// The MIME type a format is kept under; empty for one that is not kept.
std::string ClipboardFormatMimeType(UINT format);

// Opens the clipboard for `owner` (0 will do). Fails while another owner has it open; the owner
// that has it open may open it again, and one CloseClipboard closes it.
bool OpenClipboard(HWND owner);
// Publishes what was written since the clipboard was opened and frees the clipboard's blocks.
// False when the clipboard is not open.
bool CloseClipboard();
// Empties the clipboard; the desktop's clipboard is emptied when it closes. False when not open.
bool EmptyClipboard();
// Hands `data` over as the format's contents; gives `data`, or 0 when the clipboard is not open,
// the format is not kept or `data` is not a block (0 too: rendering on request is not supported).
HANDLE SetClipboardData(UINT format, HGLOBAL data);
// The format's contents as a block, or 0 when the clipboard is not open or does not hold the
// format. Asking twice while the clipboard stays open gives the same block.
HGLOBAL GetClipboardData(UINT format);
// Whether the clipboard holds the format; needs no open clipboard, and while it is open answers
// for what has been written so far.
bool IsClipboardFormatAvailable(UINT format);
