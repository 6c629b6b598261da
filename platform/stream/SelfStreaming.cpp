// How components and string lists stream themselves. Their classes belong to the component
// framework below the stream; what they do with a reader or writer is written here, next to the
// reader and writer, so that the framework's own files never reach up into the stream.

#include "platform/rtl/Component.h"
#include "platform/rtl/StringList.h"
#include "platform/stream/Reader.h"
#include "platform/stream/Writer.h"

void TComponent::ReadState(TReader& reader) {
  if (reader.Parent() && HasParent()) SetParentComponent(reader.Parent());
  reader.ReadData(this);
}

void TComponent::WriteState(TWriter& writer) { writer.WriteData(this); }

void TStrings::DefineProperties(TFiler* filer) {
  filer->DefineProperty(
      "Strings",
      [this](TReader& reader) {
        reader.ReadListBegin();
        // One update: it ends also when the stream is damaged, so the list's change notices
        // are not silenced for good.
        BeginUpdate();
        try {
          Clear();
          while (!reader.EndOfList()) Add(reader.ReadString());
        } catch (...) {
          EndUpdate();
          throw;
        }
        EndUpdate();
        reader.ReadListEnd();
      },
      [this](TWriter& writer) {
        writer.WriteListBegin();
        for (int i = 0; i < Count(); ++i) writer.WriteString(Get(i));
        writer.WriteListEnd();
      },
      Count() > 0);
}
