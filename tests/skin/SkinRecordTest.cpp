// The skin container: SkinStream in its three forms, skin files, object
// records and the checks that keep untrusted skins from hurting.
#include <gtest/gtest.h>

#include "base/Errors.h"
#include "base/Stream.h"
#include "skin/SkinBitmapObjects.h"
#include "skin/SkinManager.h"
#include "skin/SkinRecord.h"
#include "skin/SkinRecordIO.h"
#include "support/TempFolder.h"

namespace pixvane {
namespace {

// A small skin: one bitmap with a magenta pixel, a form with a bitmap child.
void FillSkin(TSkinSource& source) {
  source.SkinName = "Test";
  auto bitmap = std::make_unique<TSkinBitmap>(2, 2, 0xFF336699);
  bitmap->Name = "Frame";
  bitmap->SetPixel(1, 1, 0xFFFF00FF);
  source.AddBitmap(std::move(bitmap));
  auto form = std::make_unique<TSkinObject>();
  form->Name = "Form";
  form->Kind = skForm;
  form->SetBounds(0, 0, 300, 200);
  auto top = std::make_unique<TBitmapSkinObject>();
  top->Name = "Top";
  top->Align = saMostTop;
  top->Bitmap.Name = "FRAME";
  top->Bitmap.Right = top->Bitmap.Bottom = 2;
  top->SetBounds(0, 0, 300, 24);
  form->AddChild(std::move(top));
  source.AddObject(std::move(form));
}

std::vector<uint8_t> StreamBytes(const TSkinManager& manager) {
  TMemoryStream stream;
  manager.WriteSkinStream(stream);
  return stream.Bytes();
}

TSkinManager ReadBack(const std::vector<uint8_t>& bytes) {
  TSkinManager manager;
  TMemoryStream stream(bytes);
  manager.ReadSkinStream(stream);
  return manager;
}

TEST(SkinRecord, BothStreamFormsReadBackToTheSameSkinAndTheSameBytes) {
  TSkinManager manager;
  FillSkin(manager.Source());
  const std::vector<uint8_t> plain = StreamBytes(manager);
  manager.SkinStoreCompression = true;
  const std::vector<uint8_t> packed = StreamBytes(manager);
  EXPECT_EQ(plain[0], 1);
  EXPECT_EQ(packed[0], 2);
  for (const auto& bytes : {plain, packed}) {
    // Magenta reads as TransparentKey, so the bytes settle after one read.
    TSkinManager copy = ReadBack(bytes);
    copy.SkinStoreCompression = bytes[0] == 2;
    const std::vector<uint8_t> settled = StreamBytes(copy);
    TSkinManager again = ReadBack(settled);
    again.SkinStoreCompression = copy.SkinStoreCompression;
    EXPECT_EQ(StreamBytes(again), settled);
    const TSkinSource& source = copy.Source();
    EXPECT_EQ(source.SkinName, "Test");
    ASSERT_EQ(source.Bitmaps().size(), 1u);
    EXPECT_EQ(source.Bitmaps()[0]->Pixel(1, 1), TransparentKey);  // magenta, as read
    TSkinObject* form = source.FormObject();
    ASSERT_NE(form, nullptr);
    auto* top = dynamic_cast<TBitmapSkinObject*>(form->FindByName("top"));
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(top->Bitmap.Bitmap(), source.Bitmaps()[0].get());  // resolved ignoring case
    EXPECT_EQ(top->BoundsRect(), (TRect{0, 0, 300, 24}));
  }
}

TEST(SkinRecord, AClonedTreeIsDeepAndPaintsFromTheSameBitmaps) {
  TSkinSource source;
  FillSkin(source);
  TSkinObject& form = *source.FormObject();
  std::unique_ptr<TSkinObject> copy = CloneSkinObject(form);
  ASSERT_EQ(copy->ChildCount(), 1);
  EXPECT_NE(copy->Child(0), form.Child(0));
  auto* top = dynamic_cast<TBitmapSkinObject*>(copy->Child(0));
  ASSERT_NE(top, nullptr);
  EXPECT_EQ(top->Bitmap.Bitmap(), source.Bitmaps()[0].get());
  TSkinBitmap original(300, 200), cloned(300, 200);
  form.PaintTo(original);
  copy->PaintTo(cloned);
  EXPECT_EQ(cloned.Pixel(0, 0), original.Pixel(0, 0));
  EXPECT_EQ(cloned.Pixel(150, 100), original.Pixel(150, 100));
}

TEST(SkinRecord, AnEmptySkinIsTheFlagAloneOrTheFlagAndAnEmptyZlibStream) {
  TSkinManager manager;
  EXPECT_EQ(StreamBytes(manager), std::vector<uint8_t>{0});
  manager.SkinStoreCompression = true;
  const std::vector<uint8_t> packed = StreamBytes(manager);
  EXPECT_EQ(packed[0], 0);
  EXPECT_GT(packed.size(), 1u);
  TSkinManager empty = ReadBack({0});
  EXPECT_EQ(empty.Source().ObjectCount(), 0);
  EXPECT_EQ(empty.Source().FormObject(), nullptr);
}

TEST(SkinRecord, AnUnknownFlagLeavesTheSkinAsItWas) {
  TSkinManager manager;
  FillSkin(manager.Source());
  TMemoryStream stream(std::vector<uint8_t>{7, 1, 2, 3});
  manager.ReadSkinStream(stream);
  EXPECT_EQ(manager.Source().ObjectCount(), 1);
}

TEST(SkinRecord, ClassNamesMustMatchExactlyAndNamesAreFoundIgnoringCase) {
  EXPECT_THROW(CreateSkinObject("tskinobject"), EClassNotFound);
  EXPECT_EQ(SkinClassNames().size(), 17u);
  for (std::string_view name : SkinClassNames())
    EXPECT_EQ(CreateSkinObject(name)->ClassName(), name);
  TSkinSource source;
  FillSkin(source);
  EXPECT_EQ(source.ObjectByName("FORM"), source.Object(0));
  source.Changing = true;
  EXPECT_EQ(source.Object(0), nullptr);
}

TEST(SkinRecord, CountsAndSizesBeyondTheStreamOrTheLimitsFailBeforeAnythingIsAllocated) {
  auto record = [](int32_t width, int32_t height, int32_t bitmaps) {
    TMemoryStream stream;
    for (int i = 0; i < 5; ++i) WriteRecordText(stream, "");
    WriteRecordInt(stream, bitmaps);
    WriteRecordText(stream, "B");
    WriteRecordInt(stream, width);
    WriteRecordInt(stream, height);
    WriteRecordInt(stream, 0);  // no objects
    stream.Seek(0);
    return stream;
  };
  TSkinSource source;
  TMemoryStream empty = record(0, 4, 1);
  source.LoadFromStream(empty);
  EXPECT_EQ(source.Bitmaps()[0]->Height(), 4);
  // A side of 0 makes no pixels to read, but the other side's rows would
  // still be walked by every pass over the bitmap.
  for (auto [w, h, n] : {std::tuple{65536, 65536, 1},
                         {-1, 4, 1},
                         {100, 100, 1},
                         {0, 0, 1 << 30},
                         {0, 1280004864, 1},
                         {40000, 0, 1}}) {
    TMemoryStream stream = record(w, h, n);
    EXPECT_THROW(source.LoadFromStream(stream), EReadError) << w << "x" << h << " n=" << n;
  }
  TMemoryStream longText;
  WriteRecordInt(longText, 0x7FFFFFFF);
  longText.Seek(0);
  EXPECT_THROW(source.LoadFromStream(longText), EReadError);
}

TEST(SkinRecord, AFileNeedsItsSignatureAndReadsBackWhole) {
  test::TTempFolder folder;
  TSkinSource source;
  FillSkin(source);
  const std::string path = folder.File("test.skin");
  source.SaveToFile(path);
  TSkinSource copy, again;
  copy.LoadFromFile(path);
  again.LoadFromFileBytes(copy.FileBytes(), "copy.skin");
  EXPECT_EQ(again.FileBytes(), copy.FileBytes());
  EXPECT_EQ(copy.Bitmaps()[0]->Pixel(1, 1), TransparentKey);
  std::vector<uint8_t> bytes = source.FileBytes();
  bytes[0] = 'X';
  EXPECT_THROW(copy.LoadFromFileBytes(bytes, "bad.skin"), EReadError);
  bytes[0] = 'S';
  bytes.resize(bytes.size() / 2);
  EXPECT_THROW(copy.LoadFromFileBytes(bytes, "cut.skin"), EReadError);
}

}  // namespace
}  // namespace pixvane
