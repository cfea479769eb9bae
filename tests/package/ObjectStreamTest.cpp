#include <gtest/gtest.h>

#include <cmath>

#include "base/Errors.h"
#include "package/ClassRegistry.h"
#include "package/ObjectStream.h"
#include "package/Picture.h"
#include "package/SSFileLocations.h"
#include "support/StreamBytes.h"

namespace pixvane {
namespace {

using test::TBytes;
using VT = TValueType;

std::string ReadError(const TBytes& bytes, TPersistent& target) {
  TMemoryStream stream = bytes.Stream();
  try {
    ReadObject(stream, target);
  } catch (const EError& e) {
    return e.what();
  }
  return "no error";
}

TEST(ObjectReader, EmptyPropertyListLeavesDefaults) {
  TSSFileLocations record;
  TMemoryStream stream = TBytes().Header("TSSFileLocations").End().Stream();
  ReadObject(stream, record);
  EXPECT_EQ(record.Interval, 0);
  EXPECT_TRUE(record.Title.empty());
  EXPECT_EQ(record.EffectCount(), 0);
  EXPECT_EQ(stream.Position(), stream.Size());
}

TEST(ObjectReader, IntegersAreSignExtended) {
  TSSFileLocations record;
  TMemoryStream stream = TBytes()
                             .Header("TSSFileLocations")
                             .Prop("Interval")
                             .Type(VT::Int8)
                             .Byte(0x88)
                             .Prop("SoundRandom")
                             .Type(VT::Int16)
                             .Byte(0x88)
                             .Byte(0x13)
                             .Prop("TextFont.Height")
                             .Type(VT::Int32)
                             .U32(0xFFFF0000)
                             .End()
                             .Stream();
  ReadObject(stream, record);
  EXPECT_EQ(record.Interval, -120);
  EXPECT_EQ(record.SoundRandom, 5000);
  EXPECT_EQ(record.TextFont.Height, -65536);
}

TEST(ObjectReader, TextKindsAllArriveAsEightBitText) {
  std::string longText(397, 'L'), shortText(167, 'S');
  TSSFileLocations record;
  TMemoryStream stream = TBytes()
                             .Header("TSSFileLocations")
                             .Prop("Title")
                             .Long(VT::LongText, longText)
                             .Prop("Author")
                             .ShortText(shortText)
                             .Prop("Email")
                             .Long(VT::Utf8Text, "J\xC3\xBCrgen \xC3\xA9t\xC3\xA9")
                             .Prop("Web")
                             .Type(VT::WideText)
                             .U32(3)
                             .Raw(std::string("a\0\xE9\0\xAC\x20", 6))
                             .End()
                             .Stream();
  ReadObject(stream, record);
  EXPECT_EQ(record.Title, longText);
  EXPECT_EQ(record.Author, shortText);
  EXPECT_EQ(record.Email, "J\xFCrgen \xE9t\xE9");
  EXPECT_EQ(record.Web, "a\xE9\x80");
}

TEST(ObjectReader, FlagsAcceptBooleanTypesAndIdentifiers) {
  TSSFileLocations record;
  TMemoryStream stream = TBytes()
                             .Header("TSSFileLocations")
                             .Prop("lMute")
                             .Type(VT::True)
                             .Prop("lStretch")
                             .Ident("tRUE")
                             .Prop("lRandomPic")
                             .Type(VT::True)
                             .Prop("lRandomPic")
                             .Ident("False")
                             .End()
                             .Stream();
  ReadObject(stream, record);
  EXPECT_TRUE(record.lMute);
  EXPECT_TRUE(record.lStretch);
  EXPECT_FALSE(record.lRandomPic);
}

TEST(ObjectReader, FontIdentifiersMapThroughTheirTables) {
  TSSFileLocations record;
  TMemoryStream stream = TBytes()
                             .Header("TSSFileLocations")
                             .Prop("TextFont.Charset")
                             .Ident("russian_charset")
                             .Prop("TextFont.Color")
                             .Ident("clSkyBlue")
                             .Prop("textfont.name")
                             .ShortText("Verdana")
                             .Prop("TextFont.Style")
                             .Type(VT::Set)
                             .Short("fsItalic")
                             .Short("FSBOLD")
                             .Short("")
                             .End()
                             .Stream();
  ReadObject(stream, record);
  EXPECT_EQ(record.TextFont.Charset, 204);
  EXPECT_EQ(record.TextFont.Color, 0xF0CAA6);
  EXPECT_EQ(record.TextFont.Name, "Verdana");
  EXPECT_EQ(record.TextFont.Style, uint32_t{fsBold | fsItalic});

  TSSFileLocations other;
  TMemoryStream system =
      TBytes().Header("TSSFileLocations").Prop("TextFont.Color").Ident("clBtnFace").End().Stream();
  ReadObject(system, other);
  EXPECT_EQ(static_cast<uint32_t>(other.TextFont.Color), 0x8000000Fu);
}

TEST(ObjectReader, ErrorsNameTheObjectAndPath) {
  TSSFileLocations record;
  EXPECT_EQ(
      ReadError(TBytes().Header("TSSFileLocations").Prop("Interval").ShortText("5").End(), record),
      "Error reading TSSFileLocations.Interval: Invalid property value");
  EXPECT_EQ(
      ReadError(
          TBytes().Header("TSSFileLocations", "Saver").Prop("TextFont.Color").Ident("clPink").End(),
          record),
      "Error reading Saver.TextFont.Color: Invalid property value");
  EXPECT_EQ(
      ReadError(TBytes().Header("TSSFileLocations").Prop("Interval").Ident("clRed").End(), record),
      "Error reading TSSFileLocations.Interval: Invalid property value");
  EXPECT_EQ(ReadError(TBytes()
                          .Header("TSSFileLocations")
                          .Prop("TextFont.Style")
                          .Type(VT::Set)
                          .Short("fsShadow")
                          .Short("")
                          .End(),
                      record),
            "Error reading TSSFileLocations.TextFont.Style: Invalid property value");
  EXPECT_EQ(
      ReadError(TBytes().Header("TSSFileLocations").Prop("Interval.Low").Int8(1).End(), record),
      "Error reading TSSFileLocations.Interval.Low: Invalid property path");
  EXPECT_EQ(ReadError(TBytes().Header("TSSFileLocations").Prop("Bogus").Byte(21).End(), record),
            "Error reading TSSFileLocations.Bogus: Invalid property value");
  EXPECT_EQ(
      ReadError(
          TBytes().Header("TSSFileLocations").Prop("Title").Type(VT::LongText).U32(10).Raw("short"),
          record),
      "Error reading TSSFileLocations.Title: Stream read error");
  EXPECT_EQ(ReadError(TBytes().Raw("TPF1").Short("TSSFileLocations").Short("").End(), record),
            "Invalid stream format");
}

TEST(ObjectReader, StreamEndingBeforeTheClosingZerosFails) {
  TSSFileLocations record;
  TBytes bytes = TBytes().Header("TSSFileLocations").Prop("Interval").Int8(5);
  EXPECT_EQ(ReadError(bytes, record), "Stream read error");
  EXPECT_EQ(ReadError(TBytes(bytes).Byte(0), record), "Stream read error");
}

TEST(ObjectReader, HugeLengthsFailBeforeAnythingIsAllocated) {
  TSSFileLocations record;
  for (VT type : {VT::LongText, VT::Utf8Text, VT::WideText})
    EXPECT_EQ(
        ReadError(
            TBytes().Header("TSSFileLocations").Prop("Title").Type(type).U32(0xFFFFFFF0).End(),
            record),
        "Error reading TSSFileLocations.Title: Stream read error");
  EXPECT_EQ(ReadError(TBytes()
                          .Header("TSSFileLocations")
                          .Prop("Unknown")
                          .Type(VT::Binary)
                          .U32(0x7FFFFFFF)
                          .End(),
                      record),
            "Error reading TSSFileLocations.Unknown: Stream read error");
}

// Every value type of the format is skipped when its property is unknown,
// and reading goes on correctly with the property after it.
TEST(ObjectReader, SkipsEveryValueTypeOfUnknownProperties) {
  TBytes bytes = TBytes().Header("TSSFileLocations");
  bytes.Prop("U0").Type(VT::Null);
  bytes.Prop("U1").Type(VT::List).Int8(1).ShortText("x").Type(VT::List).Type(VT::True).Byte(0).Byte(
      0);
  bytes.Prop("U2").Int8(-1);
  bytes.Prop("U3").Type(VT::Int16).Raw("\x01\x02");
  bytes.Prop("U4").Type(VT::Int32).U32(7);
  bytes.Prop("U5").Type(VT::Extended).Raw(std::string(10, '\x01'));
  bytes.Prop("U6").ShortText("text");
  bytes.Prop("U7").Ident("clRed");
  bytes.Prop("U8").Type(VT::False);
  bytes.Prop("U9").Type(VT::True);
  bytes.Prop("U10").Long(VT::Binary, std::string("\0\0\0\x05", 4));
  bytes.Prop("U11").Type(VT::Set).Short("a").Short("b").Short("");
  bytes.Prop("U12").Long(VT::LongText, std::string(300, 'x'));
  bytes.Prop("U13").Type(VT::Nil);
  bytes.Prop("U14")
      .Type(VT::Collection)
      .Type(VT::List)
      .Prop("A")
      .Int8(1)
      .Byte(0)  // item without order
      .Int8(3)
      .Type(VT::List)
      .Prop("B")
      .ShortText("y")
      .Byte(0)  // item with its order
      .Byte(0);
  bytes.Prop("U15").Type(VT::Single).U32(0);
  bytes.Prop("U16").Type(VT::Currency).U32(0).U32(0);
  bytes.Prop("U17").Type(VT::Date).U32(0).U32(0);
  bytes.Prop("U18").Type(VT::WideText).U32(2).Raw(std::string("a\0b\0", 4));
  bytes.Prop("U19").Type(VT::Int64).U32(1).U32(2);
  bytes.Prop("U20").Long(VT::Utf8Text, "\xC3\xA9");
  bytes.Prop("Interval").Int8(42).End();
  bytes.Raw("trailing");

  TSSFileLocations record;
  TMemoryStream stream = bytes.Stream();
  ReadObject(stream, record);
  EXPECT_EQ(record.Interval, 42);
  EXPECT_EQ(stream.Position(), stream.Size() - 8)
      << "the position must stop right after the object";
}

TEST(ObjectReader, UnknownSubPropertiesAreSkipped) {
  TSSFileLocations record;
  TMemoryStream stream = TBytes()
                             .Header("TSSFileLocations")
                             .Prop("TextFont.Pitch")
                             .Ident("fpFixed")
                             .Prop("Unknown.Deep.Path")
                             .Long(VT::Binary, "xyz")
                             .Prop("Interval")
                             .Int8(9)
                             .End()
                             .Stream();
  ReadObject(stream, record);
  EXPECT_EQ(record.Interval, 9);
}

TEST(ObjectReader, AcceptsAPrefixAndChildObjects) {
  RegisterStreamClasses();
  TSSFileLocations record;
  TMemoryStream stream = TBytes()
                             .Raw("TPF0")
                             .Byte(0xF2)
                             .Int8(3)
                             .Short("TSSFileLocations")
                             .Short("")
                             .Prop("Interval")
                             .Int8(1)
                             .Byte(0)
                             .Short("TImage")
                             .Short("child")
                             .Prop("Left")
                             .Int8(5)
                             .Byte(0)
                             .Byte(0)
                             .Byte(0)
                             .Stream();
  ReadObject(stream, record);
  EXPECT_EQ(record.Interval, 1);
  EXPECT_EQ(stream.Position(), stream.Size());
}

TEST(ObjectReader, DeepNestingFailsInsteadOfExhaustingTheStack) {
  RegisterStreamClasses();
  TBytes bytes = TBytes().Header("TSSFileLocations").Byte(0);
  for (int i = 0; i < 100000; ++i) bytes.Short("TImage").Short("").Byte(0);
  TSSFileLocations record;
  EXPECT_EQ(ReadError(bytes, record), "Invalid stream format");

  TBytes lists = TBytes().Header("TSSFileLocations").Prop("Unknown");
  for (int i = 0; i < 100000; ++i) lists.Type(VT::List);
  EXPECT_EQ(ReadError(lists, record),
            "Error reading TSSFileLocations.Unknown: Invalid property value");
}

TEST(ObjectReader, CreatesRegisteredClassesByName) {
  RegisterStreamClasses();
  TMemoryStream stream = TBytes().Header("timage").Prop("Top").Int8(3).End().Stream();
  auto object = ReadObject(stream);
  auto* image = dynamic_cast<TImage*>(object.get());
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->Top, 3);

  TMemoryStream unknown = TBytes().Header("TForm").End().Stream();
  try {
    ReadObject(unknown);
    FAIL();
  } catch (const EClassNotFound& e) {
    EXPECT_STREQ(e.what(), "Class TForm not found");
  }
}

// A class with the property kinds the package records do not use.
class TSample : public TPersistent {
 public:
  int32_t Mode = 0;
  double Ratio = 0;
  uint32_t Flags = 0;
  std::string Note;
  std::string_view ClassName() const override { return "TSample"; }
  void DefineProperties(TPropertyList& p) override {
    static constexpr TIdentEntry Modes[] = {{"mdNone", 0}, {"mdFast", 1}, {"mdBest", 2}};
    static const TIdentMap ModeNames(Modes, 3);
    p.Enum("Mode", Mode, ModeNames);
    p.Float("Ratio", Ratio);
    p.Set("Flags", Flags, ModeNames);
    p.Text("Note", Note);
  }
};

TEST(ObjectReader, EnumeratedAndFloatProperties) {
  TSample sample;
  TMemoryStream stream = TBytes()
                             .Header("TSample")
                             .Prop("Mode")
                             .Ident("MDBEST")
                             .Prop("Ratio")
                             .Type(VT::Single)
                             .Raw(std::string("\x00\x00\xC0\x3F", 4))
                             .End()
                             .Stream();
  ReadObject(stream, sample);
  EXPECT_EQ(sample.Mode, 2);
  EXPECT_EQ(sample.Ratio, 1.5);
  EXPECT_EQ(ReadError(TBytes().Header("TSample").Prop("Mode").Ident("mdSlow").End(), sample),
            "Error reading TSample.Mode: Invalid property value");
  EXPECT_EQ(ReadError(TBytes().Header("TSample").Prop("Ratio").Int8(1).End(), sample),
            "Error reading TSample.Ratio: Invalid property value");
}

TEST(ObjectWriter, RoundTripsEveryKindIncludingExtendedFloats) {
  for (double ratio : {0.0, 1.0, -2.5, 3.141592653589793, 1e-300, 6.02e23, -0.0}) {
    TSample sample;
    sample.Mode = 1;
    sample.Ratio = ratio;
    sample.Flags = 5;
    sample.Note = std::string(300, 'n');
    TMemoryStream stream;
    WriteObject(stream, sample);
    stream.Seek(0);
    TSample copy;
    ReadObject(stream, copy);
    EXPECT_EQ(copy.Mode, 1);
    EXPECT_EQ(copy.Ratio, ratio);
    EXPECT_EQ(std::signbit(copy.Ratio), std::signbit(ratio));
    EXPECT_EQ(copy.Flags, 5u);
    EXPECT_EQ(copy.Note, sample.Note);
  }
}

}  // namespace
}  // namespace pixvane
