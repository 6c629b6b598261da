#include "platform/rtl/Stream.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "platform/rtl/Exception.h"
#include "platform/rtl/List.h"

namespace {

std::string ReadAll(TMemoryStream& stream, int64_t count) {
  std::string buffer(static_cast<size_t>(count), '\0');
  buffer.resize(static_cast<size_t>(stream.Read(buffer.data(), count)));
  return buffer;
}

TEST(MemoryStream, ReadPastTheEndReturnsWhatIsLeft) {
  TMemoryStream stream("abcdef");
  stream.SetPosition(4);
  EXPECT_EQ(ReadAll(stream, 10), "ef");
  EXPECT_EQ(stream.Position(), 6);
  EXPECT_EQ(ReadAll(stream, 10), "");
  stream.SetPosition(20);
  EXPECT_EQ(ReadAll(stream, 1), "");
}

TEST(MemoryStream, ReadBufferShortOfDataRaisesAReadError) {
  TMemoryStream stream("abc");
  char buffer[4];
  try {
    stream.ReadBuffer(buffer, 4);
    ADD_FAILURE() << "no error";
  } catch (const EReadError& e) {
    EXPECT_EQ(e.Message(), "Stream read error");
  }
  stream.SetPosition(0);
  EXPECT_NO_THROW(stream.ReadBuffer(buffer, 3));
  EXPECT_NO_THROW(stream.ReadBuffer(buffer, 0));
  EXPECT_THROW(stream.ReadBuffer(buffer, -1), EReadError);
}

TEST(MemoryStream, SeekClampsAtZeroButMayPassTheEnd) {
  TMemoryStream stream("abcdef");
  EXPECT_EQ(stream.Seek(-3, soBeginning), 0);
  EXPECT_EQ(stream.Seek(-2, soEnd), 4);
  EXPECT_EQ(stream.Seek(-10, soCurrent), 0);
  EXPECT_EQ(stream.Seek(4, soEnd), 10);
  EXPECT_EQ(stream.Size(), 6);
}

TEST(MemoryStream, WritePastTheEndFillsTheGapWithZeros) {
  TMemoryStream stream("ab");
  stream.Seek(2, soEnd);
  stream.WriteBuffer("z", 1);
  EXPECT_EQ(stream.Bytes(), std::string("ab\0\0z", 5));
  stream.SetPosition(1);
  stream.WriteBuffer("XY", 2);  // overwrites in place
  EXPECT_EQ(stream.Bytes(), std::string("aXY\0z", 5));
  EXPECT_EQ(stream.Position(), 3);
}

TEST(MemoryStream, SetSizeShrinksThePosition) {
  TMemoryStream stream("abcdef");
  stream.Seek(0, soEnd);
  stream.SetSize(2);
  EXPECT_EQ(stream.Position(), 2);
  EXPECT_EQ(stream.Bytes(), "ab");
  stream.SetSize(4);  // growing keeps the position and adds zeros
  EXPECT_EQ(stream.Position(), 2);
  EXPECT_EQ(stream.Bytes(), std::string("ab\0\0", 4));
  stream.SetSize(-1);
  EXPECT_EQ(stream.Size(), 0);
  EXPECT_EQ(stream.Position(), 0);
}

// Bytes given up by shrinking or Clear must not come back: growing again shows zeros or what is
// written, never the old content.
TEST(MemoryStream, ShrunkBytesNeverReappear) {
  TMemoryStream stream("abcdefgh");
  stream.SetSize(2);
  stream.Seek(2, soEnd);
  stream.WriteBuffer("z", 1);
  EXPECT_EQ(stream.Bytes(), std::string("ab\0\0z", 5));
  stream.Clear();
  EXPECT_EQ(stream.Size(), 0);
  stream.SetSize(3);
  EXPECT_EQ(stream.Bytes(), std::string(3, '\0'));
}

// Appending in pieces of every size, as writers do, gives the bytes in order however often the
// memory grows on the way.
TEST(MemoryStream, GrowsByAppendingAndKeepsEveryByte) {
  TMemoryStream stream;
  std::string expected;
  for (int i = 0; expected.size() < 300000; ++i) {
    std::string piece(static_cast<size_t>(i % 700), static_cast<char>('A' + i % 26));
    stream.WriteBuffer(piece.data(), static_cast<int64_t>(piece.size()));
    expected += piece;
  }
  EXPECT_EQ(stream.Size(), static_cast<int64_t>(expected.size()));
  EXPECT_EQ(stream.Position(), stream.Size());
  EXPECT_TRUE(stream.Bytes() == expected);
}

TEST(MemoryStream, CopyFromWholeOrPart) {
  TMemoryStream source("0123456789");
  TMemoryStream whole;
  source.SetPosition(7);
  EXPECT_EQ(whole.CopyFrom(source, 0), 10);  // 0: everything, from the start
  EXPECT_EQ(whole.Bytes(), "0123456789");

  TMemoryStream part;
  source.SetPosition(2);
  EXPECT_EQ(part.CopyFrom(source, 3), 3);
  EXPECT_EQ(part.Bytes(), "234");
  source.SetPosition(8);
  EXPECT_THROW(part.CopyFrom(source, 5), EReadError);
}

TEST(MemoryStream, FilesRoundTripAndMissingFilesNameThemselves) {
  std::string path = testing::TempDir() + "markedit_stream_test.bin";
  TMemoryStream out(std::string("\0\xFFmark", 6));
  out.SaveToFile(path);
  TMemoryStream in("stale");
  in.SetPosition(3);
  in.LoadFromFile(path);
  EXPECT_EQ(in.Bytes(), out.Bytes());
  EXPECT_EQ(in.Position(), 0);
  std::remove(path.c_str());
  try {
    in.LoadFromFile(path);
    ADD_FAILURE() << "no error";
  } catch (const EStreamError& e) {
    EXPECT_EQ(e.Message(), "Cannot open file \"" + path + "\"");
  }
}

TEST(List, IndicesAreChecked) {
  TList<int> list;
  list.Add(1);
  list.Add(3);
  list.Insert(1, 2);
  list.Insert(3, 4);
  EXPECT_EQ(list.IndexOf(3), 2);
  list.Move(0, 3);
  EXPECT_EQ(list.First(), 2);
  EXPECT_EQ(list.Last(), 1);
  EXPECT_EQ(list.Remove(9), -1);
  EXPECT_THROW(list.Items(4), EListError);
  EXPECT_THROW(list.Insert(5, 0), EListError);
  EXPECT_THROW(list.Delete(-1), EListError);
  list.Clear();
  EXPECT_THROW(list.First(), EListError);
}

}  // namespace
