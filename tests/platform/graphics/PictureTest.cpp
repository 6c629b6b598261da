// Bitmaps and pictures in files, streams and the component stream: a picture's "Data" and a glyph
// published as a bitmap survive writing, reading and the text form.

#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QTemporaryDir>
#include <memory>

#include "platform/graphics/Picture.h"
#include "platform/rtl/ClassBuilder.h"
#include "platform/stream/Filer.h"
#include "platform/stream/Reader.h"
#include "platform/stream/TextForm.h"
#include "platform/stream/Writer.h"
#include "tests/platform/graphics/GraphicsTestSupport.h"

// A component that publishes graphics as a control does.
class TGlyphHolder : public TComponent {
  DECLARE_CLASS(TGlyphHolder)

 public:
  void Create(TComponent* owner) override {
    TComponent::Create(owner);
    picture_ = New<TPicture>();
    glyph_ = New<TBitmap>();
    font_ = New<TFont>();
  }
  TPicture* Picture() const { return picture_; }
  void SetPicture(TPicture* value) { picture_->Assign(value); }
  TBitmap* Glyph() const { return glyph_; }
  void SetGlyph(TBitmap* value) { glyph_->Assign(value); }
  TFont* Font() const { return font_; }
  void SetFont(TFont* value) { font_->Assign(value); }

 protected:
  void Destroy() override {
    FreeAndNil(picture_);
    FreeAndNil(glyph_);
    FreeAndNil(font_);
    TComponent::Destroy();
  }

 private:
  TPicture* picture_ = nullptr;
  TBitmap* glyph_ = nullptr;
  TFont* font_ = nullptr;
};

DEFINE_CLASS(TGlyphHolder, TComponent) {
  c.Prop("Font", &TGlyphHolder::Font, &TGlyphHolder::SetFont);
  c.Prop("Glyph", &TGlyphHolder::Glyph, &TGlyphHolder::SetGlyph);
  c.Prop("Picture", &TGlyphHolder::Picture, &TGlyphHolder::SetPicture);
}

namespace {

struct Deleter {
  void operator()(TComponent* c) const { c->Free(); }
};
using HolderPtr = std::unique_ptr<TGlyphHolder, Deleter>;

HolderPtr MakeHolder() {
  HolderPtr holder(New<TGlyphHolder>(nullptr));
  holder->SetName("Holder1");
  return holder;
}

std::string Write(TComponent* root) {
  TMemoryStream stream;
  {
    TWriter writer(stream);
    writer.WriteRootComponent(root);
  }
  return stream.Bytes();
}

void Read(const std::string& bytes, TComponent* root) {
  TMemoryStream stream(bytes);
  TReader reader(stream);
  reader.ReadRootComponent(root);
}

// A small image whose every pixel differs from its neighbours, with or without alpha.
QImage Sample(bool alpha) {
  QImage image(7, 5, alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x) image.setPixel(x, y, qRgba(x * 36, y * 50, 200 - x * y * 5, alpha ? 40 + x * 30 : 255));
  return image;
}

bool SamePixels(const QImage& a, const QImage& b) {
  return a.size() == b.size() && a.convertToFormat(QImage::Format_ARGB32) == b.convertToFormat(QImage::Format_ARGB32);
}

class PictureTest : public ::testing::Test {
 protected:
  void SetUp() override { TestApp(); }
};

TEST_F(PictureTest, PictureAndGlyphSurviveTheComponentStream) {
  HolderPtr source = MakeHolder();
  source->Picture()->Bitmap()->SetImage(Sample(true));
  source->Glyph()->SetImage(Sample(false));
  std::string bytes = Write(source.get());

  HolderPtr target = MakeHolder();
  Read(bytes, target.get());
  ASSERT_NE(target->Picture()->Graphic(), nullptr);
  EXPECT_EQ(target->Picture()->Graphic()->ClassName(), "TBitmap");
  EXPECT_TRUE(SamePixels(target->Picture()->Bitmap()->Image(), Sample(true)));
  EXPECT_TRUE(SamePixels(target->Glyph()->Image(), Sample(false)));
}

TEST_F(PictureTest, TextFormShowsTheDataAndConvertsBackByteForByte) {
  HolderPtr source = MakeHolder();
  source->Picture()->Bitmap()->SetImage(Sample(false));
  source->Glyph()->SetImage(Sample(true));
  std::string bytes = Write(source.get());
  std::string text = StreamToText(bytes);
  EXPECT_NE(text.find("Picture.Data = {"), std::string::npos) << text;
  EXPECT_NE(text.find("Glyph.Data = {"), std::string::npos) << text;
  // Height is stored and Size, derived from it, is not.
  EXPECT_NE(text.find("Font.Height = -11"), std::string::npos) << text;
  EXPECT_EQ(text.find("Font.Size"), std::string::npos) << text;
  // The picture's data opens with its graphic's class name as a short string: 07 "TBitmap".
  EXPECT_NE(text.find("075442697") , std::string::npos) << text;
  EXPECT_EQ(TextToStream(text), bytes);

  HolderPtr target = MakeHolder();
  Read(TextToStream(text), target.get());
  EXPECT_TRUE(SamePixels(target->Picture()->Bitmap()->Image(), Sample(false)));
}

TEST_F(PictureTest, EmptyGraphicsWriteNoData) {
  HolderPtr source = MakeHolder();
  std::string text = StreamToText(Write(source.get()));
  EXPECT_EQ(text.find("Data"), std::string::npos) << text;
}

// Hands a picture's "Data" reader the given bytes, as a reader does with a stream's binary value.
class DataFeeder : public TFiler {
 public:
  explicit DataFeeder(TStream& data) : TFiler(data, 16), data_(data) {}
  void DefineProperty(std::string_view, const TReaderProc&, const TWriterProc&, bool) override {}
  void DefineBinaryProperty(std::string_view, const TStreamProc& read, const TStreamProc&, bool) override {
    read(data_);
  }

 private:
  TStream& data_;
};

TEST_F(PictureTest, DamagedDataRaisesInsteadOfReadingPastTheEnd) {
  TPicture picture;
  auto feed = [&](const std::string& bytes) {
    TMemoryStream data(bytes);
    DataFeeder feeder(data);
    picture.DefineProperties(&feeder);
  };
  const std::string bitmap("\x07TBitmap", 8);
  EXPECT_THROW(feed(bitmap + std::string("\xFF\x00\x00\x00", 4) + "PNG"), EInvalidGraphic);
  EXPECT_THROW(feed(bitmap + std::string("\x03\x00\x00\x00", 4) + "abc"), EInvalidGraphic);
  EXPECT_THROW(feed(std::string("\x07TWidget\x00\x00\x00\x00", 12)), EInvalidGraphic);
  EXPECT_THROW(feed(std::string("\x09TBit", 5)), EReadError);
  EXPECT_EQ(picture.Graphic(), nullptr);
  feed(bitmap + std::string("\x00\x00\x00\x00", 4));
  ASSERT_NE(picture.Graphic(), nullptr);
  EXPECT_TRUE(picture.Graphic()->Empty());
}

TEST_F(PictureTest, BitmapStreamsAsPngAndReadsOtherFormats) {
  TBitmap bitmap;
  bitmap.SetImage(Sample(true));
  TMemoryStream stream;
  bitmap.SaveToStream(stream);
  EXPECT_EQ(stream.Bytes().substr(1, 3), "PNG");

  QByteArray bmp;
  QBuffer buffer(&bmp);
  buffer.open(QIODevice::WriteOnly);
  Sample(false).save(&buffer, "BMP");
  TMemoryStream bmpStream(std::string_view(bmp.constData(), static_cast<size_t>(bmp.size())));
  TBitmap read;
  read.LoadFromStream(bmpStream);
  EXPECT_TRUE(SamePixels(read.Image(), Sample(false)));
}

TEST_F(PictureTest, FilesKeepTheirFormatAndMissingFilesRaise) {
  QTemporaryDir dir;
  std::string bmpName = QDir(dir.path()).filePath("glyph.bmp").toStdString();
  TPicture picture;
  picture.Bitmap()->SetImage(Sample(false));
  picture.SaveToFile(bmpName);
  TMemoryStream file;
  file.LoadFromFile(bmpName);
  EXPECT_EQ(file.Bytes().substr(0, 2), "BM");

  TPicture loaded;
  int changes = 0;
  loaded.OnChange.Bind([&](TObject*) { ++changes; });
  loaded.LoadFromFile(bmpName);
  EXPECT_TRUE(SamePixels(loaded.Bitmap()->Image(), Sample(false)));
  EXPECT_EQ(changes, 1);
  EXPECT_THROW(loaded.LoadFromFile(bmpName + ".missing"), EStreamError);
  EXPECT_TRUE(SamePixels(loaded.Bitmap()->Image(), Sample(false))) << "a failed load keeps the picture";
}

TEST_F(PictureTest, AssignCopiesAndNotifies) {
  TPicture a, b;
  a.Bitmap()->SetImage(Sample(false));
  int changes = 0;
  b.OnChange.Bind([&](TObject*) { ++changes; });
  b.Assign(&a);
  ASSERT_NE(b.Graphic(), a.Graphic());
  EXPECT_TRUE(SamePixels(b.Bitmap()->Image(), Sample(false)));
  a.Bitmap()->Canvas()->FillRect(Rect(0, 0, 7, 5));
  EXPECT_TRUE(SamePixels(b.Bitmap()->Image(), Sample(false))) << "the copy is independent";
  b.Bitmap()->Canvas()->Pixels(0, 0);
  b.Bitmap()->Canvas()->SetPixels(0, 0, clRed);
  EXPECT_GE(changes, 2) << "drawing on the picture's bitmap tells the picture";
  b.Assign(nullptr);
  EXPECT_EQ(b.Graphic(), nullptr);
}

// ---- bitmaps on canvases ----

TEST_F(CanvasTest, TransparentBitmapLeavesItsTransparentColourOut) {
  TBitmap glyph;
  glyph.SetSize(4, 4);
  glyph.Canvas()->Brush()->SetColor(clFuchsia);
  glyph.Canvas()->FillRect(Rect(0, 0, 4, 4));
  glyph.Canvas()->SetPixels(1, 1, clNavy);
  canvas->Brush()->SetColor(clGreen);
  canvas->FillRect(Rect(0, 0, 48, 40));

  canvas->Draw(10, 10, &glyph);
  EXPECT_TRUE(IsColor(10, 10, clFuchsia));
  glyph.SetTransparent(true);  // the bottom-left pixel names the transparent colour
  EXPECT_EQ(glyph.TransparentColor(), clFuchsia);
  canvas->Draw(20, 10, &glyph);
  EXPECT_TRUE(IsColor(20, 10, clGreen));
  EXPECT_TRUE(IsColor(21, 11, clNavy));
  canvas->StretchDraw(Rect(30, 10, 38, 18), &glyph);
  EXPECT_TRUE(IsColor(32, 12, clNavy));
  EXPECT_TRUE(IsColor(33, 13, clNavy));
  EXPECT_TRUE(IsColor(34, 14, clGreen));
}

TEST_F(CanvasTest, ResizingKeepsThePixelsThatFitAndFillsNewOnesWhite) {
  canvas->Brush()->SetColor(clBlue);
  canvas->FillRect(Rect(0, 0, 48, 40));
  bitmap.SetSize(60, 30);
  EXPECT_TRUE(IsColor(47, 29, clBlue));
  EXPECT_TRUE(IsColor(48, 0, clWhite));
  canvas->FillRect(Rect(50, 0, 60, 10));  // the canvas draws on the resized image
  EXPECT_TRUE(IsColor(55, 5, clBlue));
  bitmap.SetSize(0, 5);
  EXPECT_TRUE(bitmap.Empty());
}

}  // namespace
