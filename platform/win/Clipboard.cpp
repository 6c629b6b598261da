#include "platform/win/Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QString>
#include <QStringList>

#include <cstring>
#include <map>
#include <mutex>
#include <set>
#include <unordered_map>
#include <vector>

namespace {

constexpr UINT kFirstRegistered = 0xC000;
constexpr UINT kLastRegistered = 0xFFFF;
const QString kTextMime = QStringLiteral("text/plain");
const QString kMimePrefix = QStringLiteral("application/x-qt-windows-mime;value=\"");

// ---- registered names ----

struct FormatRegistry {
  std::mutex mutex;
  std::vector<std::string> names;  // by id - kFirstRegistered
  std::unordered_map<std::string, UINT> ids;  // by case-folded name
};

FormatRegistry& Registry() {
  static FormatRegistry registry;
  return registry;
}

std::string Folded(const QString& name) { return name.toCaseFolded().toStdString(); }

bool IsText(UINT format) { return format == CF_TEXT || format == CF_UNICODETEXT; }
UINT OtherText(UINT format) { return format == CF_TEXT ? CF_UNICODETEXT : CF_TEXT; }
bool IsKept(UINT format) { return IsText(format) || !GetClipboardFormatName(format).empty(); }

// The MIME type under which `data` holds a registered format. Another program may have registered
// the name in another case first, so the name is compared the way RegisterClipboardFormat does.
QString FindMime(const QMimeData& data, UINT format) {
  const QString name = QString::fromStdString(GetClipboardFormatName(format));
  const QString exact = kMimePrefix + name + u'"';
  if (data.hasFormat(exact)) return exact;
  const QString folded = name.toCaseFolded();
  for (const QString& mime : data.formats()) {
    if (!mime.startsWith(kMimePrefix) || !mime.endsWith(u'"')) continue;
    const QString value = mime.mid(kMimePrefix.size(), mime.size() - kMimePrefix.size() - 1);
    if (value.toCaseFolded() == folded) return mime;
  }
  return {};
}

// ---- blocks ----

QByteArray BlockBytes(HGLOBAL block) {
  const size_t size = GlobalSize(block);
  const void* bytes = GlobalLock(block);
  if (!bytes) return {};
  QByteArray copy(static_cast<const char*>(bytes), static_cast<qsizetype>(size));
  GlobalUnlock(block);
  return copy;
}

HGLOBAL NewBlock(const QByteArray& bytes) {
  const HGLOBAL block = GlobalAlloc(GHND, static_cast<size_t>(bytes.size()));
  if (!block) return 0;
  if (!bytes.isEmpty()) {
    std::memcpy(GlobalLock(block), bytes.constData(), static_cast<size_t>(bytes.size()));
    GlobalUnlock(block);
  }
  return block;
}

// The text of a text block, which ends at its first zero character or with the block.
QString BlockText(UINT format, HGLOBAL block) {
  const QByteArray bytes = BlockBytes(block);
  if (format == CF_TEXT) {
    const size_t length = qstrnlen(bytes.constData(), static_cast<size_t>(bytes.size()));
    return QString::fromUtf8(bytes.constData(), static_cast<qsizetype>(length));
  }
  std::vector<char16_t> units(static_cast<size_t>(bytes.size()) / 2);
  if (!units.empty()) std::memcpy(units.data(), bytes.constData(), units.size() * 2);
  size_t length = 0;
  while (length < units.size() && units[length] != 0) ++length;
  return QString::fromUtf16(units.data(), static_cast<qsizetype>(length));
}

// A text block's bytes for `text`, with the closing zero character.
QByteArray TextBytes(UINT format, const QString& text) {
  if (format == CF_TEXT) return text.toUtf8().append('\0');
  QByteArray bytes(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
  return bytes.append(2, '\0');
}

// ---- the open clipboard ----

struct Session {
  bool open = false;
  HWND owner = 0;
  bool emptied = false;
  std::map<UINT, HGLOBAL> written;  // handed over with SetClipboardData
  std::map<UINT, HGLOBAL> read;     // made for GetClipboardData
};

Session& Current() {
  static Session session;
  return session;
}

QClipboard* DesktopClipboard() {
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return nullptr;
  return QGuiApplication::clipboard();
}

bool Holds(const std::map<UINT, HGLOBAL>& blocks, HGLOBAL block) {
  for (const auto& entry : blocks) {
    if (entry.second == block) return true;
  }
  return false;
}

// Forgets the format's entry in `blocks` and frees its block unless the session still holds it
// under another format (a caller may hand one block over twice).
void Drop(Session& session, std::map<UINT, HGLOBAL>& blocks, UINT format) {
  const auto it = blocks.find(format);
  if (it == blocks.end()) return;
  const HGLOBAL block = it->second;
  blocks.erase(it);
  if (!Holds(session.written, block) && !Holds(session.read, block)) GlobalFree(block);
}

void FreeAll(Session& session) {
  std::set<HGLOBAL> blocks;
  for (const auto& entry : session.written) blocks.insert(entry.second);
  for (const auto& entry : session.read) blocks.insert(entry.second);
  for (const HGLOBAL block : blocks) GlobalFree(block);
  session.written.clear();
  session.read.clear();
}

// Puts the session's writing onto the desktop's clipboard: the written formats on top of what it
// held before, or alone when the clipboard was emptied.
void Publish(const Session& session) {
  QClipboard* clipboard = DesktopClipboard();
  if (!clipboard) return;
  if (session.written.empty()) {
    clipboard->clear();
    return;
  }
  auto* data = new QMimeData;
  const QMimeData* previous = session.emptied ? nullptr : clipboard->mimeData();
  if (previous) {
    for (const QString& mime : previous->formats()) data->setData(mime, previous->data(mime));
    if (previous->hasImage()) data->setImageData(previous->imageData());
  }
  for (const auto& [format, block] : session.written) {
    if (GlobalFlags(block) & GMEM_INVALID_HANDLE) continue;  // freed by its former owner
    if (IsText(format)) {
      data->setText(BlockText(format, block));
      continue;
    }
    for (QString old = FindMime(*data, format); !old.isEmpty(); old = FindMime(*data, format)) {
      data->removeFormat(old);
    }
    data->setData(QString::fromStdString(ClipboardFormatMimeType(format)), BlockBytes(block));
  }
  clipboard->setMimeData(data);
}

}  // namespace

UINT RegisterClipboardFormat(const std::string& name) {
  if (name.empty()) return 0;
  for (const char c : name) {
    if (c == '"' || c == '\\' || (static_cast<unsigned char>(c) < 0x20) || c == 0x7F) return 0;
  }
  FormatRegistry& registry = Registry();
  std::lock_guard<std::mutex> guard(registry.mutex);
  const std::string key = Folded(QString::fromStdString(name));
  if (const auto it = registry.ids.find(key); it != registry.ids.end()) return it->second;
  const UINT id = kFirstRegistered + static_cast<UINT>(registry.names.size());
  if (id > kLastRegistered) return 0;
  registry.names.push_back(name);
  registry.ids.emplace(key, id);
  return id;
}

std::string GetClipboardFormatName(UINT format) {
  FormatRegistry& registry = Registry();
  std::lock_guard<std::mutex> guard(registry.mutex);
  if (format < kFirstRegistered || format - kFirstRegistered >= registry.names.size()) return {};
  return registry.names[format - kFirstRegistered];
}

std::string ClipboardFormatMimeType(UINT format) {
  if (IsText(format)) return kTextMime.toStdString();
  const std::string name = GetClipboardFormatName(format);
  if (name.empty()) return {};
  return kMimePrefix.toStdString() + name + '"';
}

bool OpenClipboard(HWND owner) {
  Session& session = Current();
  if (session.open) return session.owner == owner;
  if (!DesktopClipboard()) return false;
  session.open = true;
  session.owner = owner;
  session.emptied = false;
  return true;
}

bool CloseClipboard() {
  Session& session = Current();
  if (!session.open) return false;
  if (session.emptied || !session.written.empty()) Publish(session);
  FreeAll(session);
  session = Session{};
  return true;
}

bool EmptyClipboard() {
  Session& session = Current();
  if (!session.open) return false;
  FreeAll(session);
  session.emptied = true;
  return true;
}

HANDLE SetClipboardData(UINT format, HGLOBAL data) {
  Session& session = Current();
  if (!session.open || !IsKept(format) || (GlobalFlags(data) & GMEM_INVALID_HANDLE)) return 0;
  const auto previous = session.written.find(format);
  const HGLOBAL old = previous != session.written.end() ? previous->second : 0;
  session.written[format] = data;
  if (old && !Holds(session.written, old) && !Holds(session.read, old)) GlobalFree(old);
  // A block made for reading this format from the earlier contents is out of date now. Both text
  // formats are the one text of the desktop, so the later writing of either wins.
  Drop(session, session.read, format);
  if (IsText(format)) {
    Drop(session, session.written, OtherText(format));
    Drop(session, session.read, OtherText(format));
  }
  return data;
}

HGLOBAL GetClipboardData(UINT format) {
  Session& session = Current();
  if (!session.open || !IsKept(format)) return 0;
  if (const auto it = session.written.find(format); it != session.written.end()) return it->second;
  if (const auto it = session.read.find(format); it != session.read.end()) return it->second;
  QByteArray bytes;
  if (IsText(format) && session.written.count(OtherText(format))) {
    bytes = TextBytes(format, BlockText(OtherText(format), session.written[OtherText(format)]));
  } else if (session.emptied) {
    return 0;
  } else {
    const QClipboard* clipboard = DesktopClipboard();
    const QMimeData* data = clipboard ? clipboard->mimeData() : nullptr;
    if (!data) return 0;
    if (IsText(format)) {
      if (!data->hasText()) return 0;
      bytes = TextBytes(format, data->text());
    } else {
      const QString mime = FindMime(*data, format);
      if (mime.isEmpty()) return 0;
      bytes = data->data(mime);
    }
  }
  const HGLOBAL block = NewBlock(bytes);
  if (block) session.read[format] = block;
  return block;
}

bool IsClipboardFormatAvailable(UINT format) {
  if (!IsKept(format)) return false;
  const Session& session = Current();
  if (session.open) {
    if (session.written.count(format)) return true;
    if (IsText(format) && session.written.count(OtherText(format))) return true;
    if (session.emptied) return false;
  }
  const QClipboard* clipboard = DesktopClipboard();
  const QMimeData* data = clipboard ? clipboard->mimeData() : nullptr;
  if (!data) return false;
  if (IsText(format)) return data->hasText();
  return !FindMime(*data, format).isEmpty();
}
