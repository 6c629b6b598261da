// The register's edits of the design: controls made from the palette's prototypes, copied to and
// pasted from the clipboard, and deleted. Each ends by setting the selection through Select.

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "design/DsnCmpPlt.h"
#include "design/DsnPropText.h"
#include "design/select/DsnRegister.h"
#include "platform/rtl/PostedRefs.h"
#include "platform/rtl/Stream.h"
#include "platform/rtl/Tr.h"
#include "platform/stream/Reader.h"
#include "platform/win/Clipboard.h"

namespace {

// What the clerk is told of a paste.
struct Texts {
  Q_DECLARE_TR_FUNCTIONS(Paste)
};

// The names of the steps the Edit menu can undo.
struct StepTexts {
  Q_DECLARE_TR_FUNCTIONS(Steps)
};

constexpr int kStreamBuffer = 4096;

// The number of parent steps from `control` up to `stage`; controls outside it count as deep.
int DepthBelow(TControl* control, TControl* stage) {
  int depth = 0;
  for (TControl* c = control; c && c != stage; c = c->Parent()) ++depth;
  return depth;
}

}  // namespace

UINT TDsnRegister::ClipboardFormat() {
  static const UINT format = RegisterClipboardFormat("Dsn_ClipboardFormat");
  return format;
}

// ---- controls from the palette ----

TControl* TDsnRegister::CloneControl(TComponent* prototype, TWinControl* parent) {
  auto* source = ClassCast<TControl>(prototype);
  if (!source || !parent) return nullptr;
  const std::string name = source->Name();
  source->SetName("");
  TMemoryStream stream;
  created_ = nullptr;
  try {
    {
      TDesignWriter writer(stream, source->Owner());
      writer.WriteBlock(source);
      writer.WriteEnd();
    }
    stream.SetPosition(0);
    ReadControls(stream, parent, DM_CONTROLCREATED, [this](TComponent* c) {
      if (auto* control = ClassCast<TControl>(c)) ControlCreated(control);
    });
  } catch (...) {
    source->SetName(name);
    throw;
  }
  source->SetName(name);
  return created_;
}

void TDsnRegister::ReadControls(TStream& stream, TWinControl* parent, UINT announce,
                                const std::function<void(TComponent*)>& each, const TReadPolicy* policy,
                                std::vector<std::string>* skipped) {
  TReader reader(stream, kStreamBuffer);
  reader.SetPolicy(policy);
  reader.SetAllOrNothing(true);
  if (skipped)
    reader.OnError = [skipped](TReader&, const std::string& message, bool& handled) {
      skipped->push_back(message);
      handled = true;
    };
  TDsnStage* stage = stage_;
  TFreeNameHint hint;
  reader.OnSetName = [stage, announce, &hint](TReader& r, TComponent* component, std::string& name) {
    UniqueComponentName(r.Owner(), &r, component, name, hint);
    if (stage && stage->HandleAllocated()) PostMessage(stage->Handle(), announce, PostableRef(component), 0);
  };
  reader.ReadComponents(parent->Owner(), parent, each);
}

void TDsnRegister::NameControl(TControl* control) {
  if (!control) return;
  const std::string base = NameBaseOf(*control);
  if (!Owner()) {
    control->SetName(NumberedName(base, 1));
    return;
  }
  control->SetName(FirstFreeName(*Owner(), control, [&base](int i) { return NumberedName(base, i); }));
}

// ---- clipboard and delete ----

bool TDsnRegister::CanCopy() const { return targets_ && targets_->Count() > 0 && SameParent(); }

bool TDsnRegister::CanPaste() const {
  if (!targets_ || targets_->Count() > 1) return false;
  if (targets_->Count() == 1 && !AcceptsControls(ClassCast<TControl>(targets_->Target(0)))) return false;
  return IsClipboardFormatAvailable(ClipboardFormat());
}

void TDsnRegister::CutSelection() {
  if (!CanCopy()) return;
  if (stage_) stage_->BeginStep(Tr(StepTexts::tr("Cut")));
  CopySelection();
  DeleteSelection();
}

void TDsnRegister::CopySelection() {
  if (!CanCopy()) return;
  TMemoryStream stream;
  {
    TDesignWriter writer(stream, Owner());
    for (int i = 0; i < targets_->Count(); ++i)
      if (TComponent* target = targets_->Target(i)) writer.WriteBlock(target);
    writer.WriteEnd();
  }
  const auto size = static_cast<uint32_t>(stream.Size());
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size + 4u);
  if (!block) return;
  auto* bytes = static_cast<uint8_t*>(GlobalLock(block));
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<uint8_t>(size >> (8 * i));
  std::memcpy(bytes + 4, stream.Memory(), size);
  GlobalUnlock(block);
  if (!OpenClipboard(0)) {
    GlobalFree(block);
    return;
  }
  EmptyClipboard();
  if (!SetClipboardData(ClipboardFormat(), block)) GlobalFree(block);
  CloseClipboard();
}

namespace {

// The stream of a clipboard block: a little-endian 32-bit size, then that many bytes. A size that
// is negative, smaller than one byte or larger than what follows in the block gives nothing.
bool ClipboardStream(HGLOBAL block, TMemoryStream& out) {
  const size_t blockSize = block ? GlobalSize(block) : 0;
  if (blockSize < 5) return false;
  const auto* bytes = static_cast<const uint8_t*>(GlobalLock(block));
  if (!bytes) return false;
  int32_t size = 0;
  uint32_t raw = 0;
  for (int i = 0; i < 4; ++i) raw |= static_cast<uint32_t>(bytes[i]) << (8 * i);
  std::memcpy(&size, &raw, 4);
  const bool ok = size >= 1 && static_cast<size_t>(size) <= blockSize - 4;
  if (ok) out.Write(bytes + 4, size);
  GlobalUnlock(block);
  return ok;
}

}  // namespace

void TDsnRegister::PasteSelection() {
  if (!CanPaste()) return;
  TWinControl* parent =
      targets_->Count() == 1 ? dynamic_cast<TWinControl*>(targets_->Target(0)) : PasteTarget();
  if (!parent) return;
  const TWeak<TDsnRegister> alive(this);
  const TWeak<TWinControl> into(parent);
  if (stage_) stage_->BeginStep(Tr(StepTexts::tr("Paste")));
  ClearSelection();
  if (!alive || !into) return;
  TMemoryStream stream;
  if (!OpenClipboard(0)) return;
  const bool ok = ClipboardStream(GetClipboardData(ClipboardFormat()), stream);
  CloseClipboard();
  if (!ok) return;
  stream.SetPosition(0);
  std::vector<TWeak<TControl>> pasted;
  std::vector<std::string> skipped;
  // The clipboard's data comes from elsewhere: the stage's policy says what it may hold. A read
  // that fails frees every component it made, whatever its class or depth.
  try {
    ReadControls(stream, parent, DM_CONTROLPASTED, [&pasted](TComponent* c) {
      if (auto* control = ClassCast<TControl>(c)) pasted.emplace_back(control);
    }, stage_ ? stage_->ReadPolicy() : nullptr, &skipped);
  } catch (const EReadRefused& e) {
    throw EReadRefused(Tr(Texts::tr("Nothing was pasted: %1"), e.Message()));
  } catch (...) {
    return;  // damaged data under our format
  }
  if (!alive || !into) return;
  std::vector<TWeak<TComponent>> placed;
  for (TWeak<TControl>& weak : pasted) {
    TControl* control = weak.get();
    if (!control) continue;
    if (auto* win = dynamic_cast<TWinControl*>(control)) CoverControl(win);
    if (!alive || !into || !(control = weak.get())) continue;
    // Back inside the parent.
    int left = control->Left();
    int top = control->Top();
    if (parent->Width() < left) left = parent->Width() - control->Width();
    if (left < 0) left = 0;
    if (parent->Height() < top) top = parent->Height() - control->Height();
    if (top < 0) top = 0;
    control->SetBounds(left, top, control->Width(), control->Height());
    placed.emplace_back(std::move(weak));  // each pasted control once
  }
  if (alive) SelectDistinct(placed);
  // A property that could not be read is passed over as a stored design's is; the clerk is told.
  if (!skipped.empty()) throw Exception(Tr(Texts::tr("Pasted without what could not be read:\n%1"), SkippedList(skipped)));
}

void TDsnRegister::DeleteSelection() {
  if (!targets_) return;
  std::vector<TWeak<TControl>> work;
  for (int i = 0; i < targets_->Count(); ++i)
    if (auto* control = ClassCast<TControl>(targets_->Target(i))) work.emplace_back(control);
  const TWeak<TDsnRegister> alive(this);
  if (stage_ && !work.empty()) stage_->BeginStep(Tr(StepTexts::tr("Delete")));
  ClearSelection();
  if (!alive) return;
  if (stage_ && stage_->OnDeleteQuery) {
    for (size_t i = work.size(); i > 0; --i) {
      TControl* control = work[i - 1].get();
      if (!control) continue;
      bool canDelete = true;
      stage_->OnDeleteQuery(stage_, control, canDelete);
      if (!alive) return;
      if (!canDelete) work.erase(work.begin() + static_cast<ptrdiff_t>(i - 1));
    }
  }
  // Shallowest first, then freed from the last: a control always goes before its container.
  std::stable_sort(work.begin(), work.end(), [this](const TWeak<TControl>& a, const TWeak<TControl>& b) {
    return DepthBelow(a.get(), stage_) < DepthBelow(b.get(), stage_);
  });
  for (auto it = work.rbegin(); it != work.rend(); ++it)
    if (TControl* control = it->get()) control->Free();
}
