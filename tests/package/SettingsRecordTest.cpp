#include <gtest/gtest.h>

#include "base/Errors.h"
#include "package/ObjectStream.h"
#include "package/SSFileLocations.h"
#include "support/RandomRecord.h"
#include "support/StreamBytes.h"

namespace pixvane {
namespace {

using test::TBytes;
using test::TRandomRecord;
using VT = TValueType;

TEST(SettingsRecord, RandomRecordsSurviveWriteAndRead) {
  TRandomRecord maker(2026);
  for (int round = 0; round < 300; ++round) {
    TSSFileLocations record = maker.Make();
    TMemoryStream stream;
    WriteObject(stream, record);
    stream.Seek(0);
    TSSFileLocations copy;
    ReadObject(stream, copy);
    ASSERT_TRUE(record == copy) << "round " << round;
  }
}

TEST(SettingsRecord, EqualitySeesNestedUnstoredAndEmptyProperties) {
  TSSFileLocations record, other;
  EXPECT_TRUE(record == other);
  other.TextFont.Style = fsItalic;
  EXPECT_FALSE(record == other);
  other = record;
  other.Tag = 1;
  EXPECT_FALSE(record == other);
  other = record;
  other.DescriptList.Items = {""};  // one empty description is not none
  EXPECT_FALSE(record == other);
}

TEST(SettingsRecord, WriterFollowsTheRecordLayout) {
  TSSFileLocations record;
  record.TextFont = TFont{};
  record.TextFont.Charset = 1;
  record.TextFont.Color = 0xFFFFFF;
  record.TextFont.Height = -24;
  record.TextFont.Name = "Arial";
  record.TextFont.Style = fsBold;
  record.Interval = 40000;
  record.SoundRandom = 300;
  record.lStretch = true;
  record.Ver = "photo";
  record.EffectList.SetCommaText("5,9");
  record.DescriptList.Items = {"Caf\xE9", "x"};

  TBytes expected;
  expected.Header("TSSFileLocations")
      .Prop("TextFont.Charset")
      .Ident("DEFAULT_CHARSET")
      .Prop("TextFont.Color")
      .Ident("clWhite")
      .Prop("TextFont.Height")
      .Int8(-24)
      .Prop("TextFont.Name")
      .ShortText("Arial")
      .Prop("TextFont.Style")
      .Type(VT::Set)
      .Short("fsBold")
      .Short("")
      .Prop("lRandomStyle")
      .Type(VT::False)
      .Prop("lRandomPic")
      .Type(VT::False)
      .Prop("lClearOldImage")
      .Type(VT::False)
      .Prop("lStretch")
      .Type(VT::True)
      .Prop("Interval")
      .Type(VT::Int32)
      .U32(40000)
      .Prop("SoundRandom")
      .Type(VT::Int16)
      .Byte(300 & 0xFF)
      .Byte(300 >> 8);
  for (const char* flag : {"lSoundLoop", "lMute", "lExitMouseMove", "lExitMouseClick",
                           "lExitKeyPress", "lShowMouseCursor", "lExitFSCommandQuit"})
    expected.Prop(flag).Type(VT::False);
  expected.Prop("Ver")
      .ShortText("photo")
      .Prop("EffectCommaList")
      .ShortText("5,9")
      .Prop("DescriptCommaList")
      .Long(VT::Utf8Text, "Caf\xC3\xA9,x")
      .End();

  TMemoryStream stream;
  WriteObject(stream, record);
  EXPECT_EQ(stream.Bytes(), expected.Bytes());
}

TEST(SettingsRecord, DescriptionsStoredAsUtf8ComeBackAsEightBitItems) {
  TSSFileLocations record;
  TMemoryStream stream = TBytes()
                             .Header("TSSFileLocations")
                             .Prop("DescriptCommaList")
                             .Long(VT::Utf8Text,
                                   "\"Fa\xC3\xA7"
                                   "ade, north\",\"\xC3\x9C"
                                   "ber\"")
                             .End()
                             .Stream();
  ReadObject(stream, record);
  EXPECT_EQ(record.DescriptList.Items, (std::vector<std::string>{"Fa\xE7"
                                                                 "ade, north",
                                                                 "\xDC"
                                                                 "ber"}));
}

TEST(SettingsRecord, CaptionsOutsideTheCodePageAreKeptAsUtf8) {
  const std::string world =
      "Gr\xC3\xBC\xC3\x9F"
      "e aus Z\xC3\xBCrich \xE2\x98\x80 \xE6\x9D\xB1\xE4\xBA\xAC";
  TSSFileLocations record;
  record.SetCaption(world);
  record.SetPicCaptions({"", "Caf\xC3\xA9", "\xE6\x9D\xB1"});
  TMemoryStream stream;
  WriteObject(stream, record);
  const std::string bytes(stream.Bytes().begin(), stream.Bytes().end());
  EXPECT_NE(bytes.find(TBytes().Prop("Text").Long(VT::Utf8Text, world).String()),
            std::string::npos);
  EXPECT_NE(bytes.find(TBytes().Prop("lPicCaptions").Type(VT::True).String()), std::string::npos);
  stream.Seek(0);
  TSSFileLocations copy;
  ReadObject(stream, copy);
  EXPECT_EQ(copy.CaptionOf(0), TStoredText(world, true)) << "no caption of its own: the show's";
  EXPECT_EQ(copy.CaptionOf(1), TStoredText("Caf\xC3\xA9", true));
  EXPECT_EQ(copy.CaptionOf(2), TStoredText("\xE6\x9D\xB1", true));
  EXPECT_EQ(copy.CaptionOf(3), TStoredText(world, true)) << "past the list: the show's";
  copy.lPicCaptions = false;  // descriptions of an older package are not captions
  EXPECT_EQ(copy.CaptionOf(1), TStoredText(world, true));
}

TEST(SettingsRecord, EightBitCaptionsStayAsTheyWere) {
  TSSFileLocations record;
  record.SetCaption(
      "Gr\xC3\xBC\xC3\x9F"
      "e \xE2\x82\xAC");  // all in Windows-1252
  EXPECT_EQ(record.CaptionOf(0), TStoredText("Gr\xFC\xDF"
                                             "e \x80"));
  TMemoryStream stream;
  WriteObject(stream, record);
  TBytes expected;
  expected.Header("TSSFileLocations")
      .Prop("Text")
      .ShortText(
          "Gr\xFC\xDF"
          "e \x80");
  EXPECT_EQ(std::vector<uint8_t>(stream.Bytes().begin(),
                                 stream.Bytes().begin() + expected.Bytes().size()),
            expected.Bytes());
  // Read as stored: 8-bit bytes untouched (whatever code page they were
  // meant in), Unicode that fits the code page in it.
  for (auto [value, utf8] : {std::pair{VT::LongText, "\xC0\xFF\x81"}, {VT::Utf8Text, "\xC3\x80"}}) {
    TMemoryStream stored =
        TBytes().Header("TSSFileLocations").Prop("Text").Long(value, utf8).End().Stream();
    TSSFileLocations copy;
    ReadObject(stored, copy);
    EXPECT_EQ(copy.CaptionOf(0),
              TStoredText(value == VT::LongText ? "\xC0\xFF\x81" : "\xC0", false));
  }
}

TEST(SettingsRecord, SoundOrdersAreStoredAsTheToolHasAlwaysStoredThem) {
  TSSFileLocations record;
  for (auto [order, stored] :
       {std::pair{TSoundOrder::List, 1}, {TSoundOrder::Random, 2}, {TSoundOrder::RepeatOne, 3}}) {
    record.SetSoundOrder(order);
    EXPECT_EQ(record.SoundRandom, stored);
    EXPECT_EQ(record.SoundOrder(), order);
  }
}

TEST(SettingsRecord, ScaleModesSitOverTheStretchFlag) {
  TSSFileLocations record;
  EXPECT_EQ(record.Scale(), TScaleMode::None);
  record.lStretch = true;
  EXPECT_EQ(record.Scale(), TScaleMode::Stretch);
  for (TScaleMode mode :
       {TScaleMode::Fit, TScaleMode::Fill, TScaleMode::None, TScaleMode::Stretch}) {
    record.SetScale(mode);
    EXPECT_EQ(record.Scale(), mode);
  }
  EXPECT_EQ(record.ScaleMode, 0);  // the old looks leave the new property out
  record.ScaleMode = 7;            // a mode from a later player: the flag decides
  EXPECT_EQ(record.Scale(), TScaleMode::Stretch);
}

TEST(SettingsRecord, PanAndZoomReadsItsZoomWithinRange) {
  TSSFileLocations record;
  EXPECT_FALSE(record.PanZoom());
  EXPECT_DOUBLE_EQ(record.Zoom(), 1.15);
  record.Motion = 1;
  EXPECT_TRUE(record.PanZoom());
  record.Motion = 2;  // a motion from a later player: still pictures here
  EXPECT_FALSE(record.PanZoom());
  // A damaged or foreign record never makes the player zoom wildly.
  for (auto [stored, used] : {std::pair{1200, 1.2}, {0, 1.05}, {-5, 1.05}, {99999, 1.5}}) {
    record.MotionZoom = stored;
    EXPECT_DOUBLE_EQ(record.Zoom(), used) << stored;
  }
}

TEST(SettingsRecord, AccessorsCheckEachListsOwnCount) {
  TSSFileLocations record;
  record.EffectList.SetCommaText("0,1,2");
  record.SndList.SetCommaText("100,200");
  record.SndFileNamesList.SetCommaText("a.wav");
  record.SndSizesList.SetCommaText("5,oops");
  EXPECT_EQ(record.EffectCount(), 3);
  EXPECT_EQ(record.EffectAt(2), 2);
  EXPECT_THROW(record.EffectAt(3), EListError);
  EXPECT_EQ(record.Sounds().Count(), 2);
  EXPECT_EQ(record.Sounds().NameAt(0), "a.wav");
  EXPECT_THROW(record.Sounds().NameAt(1), EListError);
  EXPECT_EQ(record.Sounds().SizeAt(1), 0);
  EXPECT_EQ(record.Flash().Count(), 0);
  EXPECT_THROW(record.Flash().OffsetAt(0), EListError);
}

}  // namespace
}  // namespace pixvane
