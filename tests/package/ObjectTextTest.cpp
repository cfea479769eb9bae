#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "base/Errors.h"
#include "base/Stream.h"
#include "package/ObjectStream.h"
#include "package/ObjectText.h"
#include "support/RandomRecord.h"
#include "support/StreamBytes.h"

namespace pixvane {
namespace {

using test::TBytes;
using test::TRandomRecord;
using VT = TValueType;

std::string AsString(const std::vector<uint8_t>& bytes) {
  return std::string(bytes.begin(), bytes.end());
}

template <typename T>
std::string_view Le(const T& value) {
  return std::string_view(reinterpret_cast<const char*>(&value), sizeof value);
}

TEST(ObjectText, RandomRecordsSurviveTheTripThroughText) {
  TRandomRecord maker(1702);
  for (int round = 0; round < 200; ++round) {
    TSSFileLocations record = maker.Make();
    TMemoryStream stream;
    WriteObject(stream, record);
    std::string binary = AsString(stream.Bytes());
    std::string text = ObjectBinaryToText(binary);
    ASSERT_EQ(ObjectTextToBinary(text), binary) << "round " << round << "\n" << text;
    ASSERT_EQ(ObjectBinaryToText(ObjectTextToBinary(text)), text) << "round " << round;
  }
}

TEST(ObjectText, EveryValueTypeHasItsText) {
  const int16_t width = 5000;
  const int32_t color = 0xE7F7FF;
  const int64_t big = 5'000'000'000;
  const uint8_t ratio[10] = {0, 0, 0, 0, 0, 0, 0, 0xC0, 0xFF, 0x3F};  // 1.5
  const float scale = 0.25f;
  const int64_t price = 12345;
  const double when = 2.5;
  std::string data, hint(300, 'x');
  for (int i = 0; i < 33; ++i) data += static_cast<char>(i);
  TBytes bytes;
  bytes.Header("TSkinObject", "Form")
      .Prop("Left")
      .Int8(-12)
      .Prop("Width")
      .Type(VT::Int16)
      .Raw(Le(width))
      .Prop("Color")
      .Type(VT::Int32)
      .Raw(Le(color))
      .Prop("Big")
      .Type(VT::Int64)
      .Raw(Le(big))
      .Prop("Align")
      .Ident("saClient")
      .Prop("Visible")
      .Type(VT::True)
      .Prop("Enabled")
      .Type(VT::False)
      .Prop("Link")
      .Type(VT::Nil)
      .Prop("Empty")
      .Type(VT::Null)
      .Prop("Font.Name")
      .ShortText("It's\tx")
      .Prop("Caption")
      .Long(VT::Utf8Text, "Caf\xC3\xA9")
      .Prop("Hint")
      .Long(VT::LongText, hint)
      .Prop("Font.Style")
      .Type(VT::Set)
      .Short("fsBold")
      .Short("fsItalic")
      .Short("")
      .Prop("Flags")
      .Type(VT::Set)
      .Short("")
      .Prop("Ratio")
      .Type(VT::Extended)
      .Raw(std::string_view(reinterpret_cast<const char*>(ratio), 10))
      .Prop("Scale")
      .Type(VT::Single)
      .Raw(Le(scale))
      .Prop("Price")
      .Type(VT::Currency)
      .Raw(Le(price))
      .Prop("When")
      .Type(VT::Date)
      .Raw(Le(when))
      .Prop("Data")
      .Long(VT::Binary, data)
      .Prop("Objects")
      .Long(VT::Binary, std::string(4, '\0'))
      .Prop("Lines")
      .Type(VT::List)
      .ShortText("a")
      .Int8(1)
      .Byte(0)
      .Prop("Items")
      .Type(VT::Collection)
      .Int8(2)
      .Type(VT::List)
      .Prop("Tag")
      .Int8(1)
      .Byte(0)
      .Byte(0)
      .Byte(0)
      .Byte(0xF3)
      .Int8(3)
      .Short("TSkinObject")
      .Short("Top")
      .Prop("Left")
      .Int8(0)
      .End()
      .Byte(0);
  const std::string expected =
      "object Form: TSkinObject\r\n"
      "  Left = -12\r\n"
      "  Width = 5000\r\n"
      "  Color = 15202303\r\n"
      "  Big = 5000000000\r\n"
      "  Align = saClient\r\n"
      "  Visible = True\r\n"
      "  Enabled = False\r\n"
      "  Link = nil\r\n"
      "  Empty = Null\r\n"
      "  Font.Name = 'It''s'#9'x'\r\n"
      "  Caption = 'Caf\xC3\xA9'\r\n"
      "  Hint = '" +
      hint +
      "'\r\n"
      "  Font.Style = [fsBold, fsItalic]\r\n"
      "  Flags = []\r\n"
      "  Ratio = 1.5\r\n"
      "  Scale = 0.25s\r\n"
      "  Price = 1.2345c\r\n"
      "  When = 2.5d\r\n"
      "  Data = {\r\n"
      "    000102030405060708090A0B0C0D0E0F101112131415161718191A1B1C1D1E1F\r\n"
      "    20}\r\n"
      "  Objects = {00000000}\r\n"
      "  Lines = (\r\n"
      "    'a'\r\n"
      "    1)\r\n"
      "  Items = <\r\n"
      "    item [2]\r\n"
      "      Tag = 1\r\n"
      "    end>\r\n"
      "  inherited Top: TSkinObject [3]\r\n"
      "    Left = 0\r\n"
      "  end\r\n"
      "end\r\n";
  std::string binary = AsString(bytes.Bytes());
  EXPECT_EQ(ObjectBinaryToText(binary), expected);
  EXPECT_EQ(ObjectTextToBinary(expected), binary);
  EXPECT_EQ(ObjectTextToBinary("\xEF\xBB\xBF" + expected), binary) << "after a byte order mark";

  // On streams, an object in the middle of others is read to its end only.
  TMemoryStream in(bytes.Raw("next").Bytes()), out;
  ObjectBinaryToText(in, out);
  EXPECT_EQ(in.Position(), static_cast<int64_t>(binary.size()));
  EXPECT_EQ(AsString(out.Bytes()), expected);
}

TEST(ObjectText, BrokenTextNamesItsLine) {
  const std::string head = "object Form: TSkinObject\r\n";
  std::string deep;
  for (int i = 0; i < 66; ++i) deep += "object A: T\n";
  const std::pair<std::string, std::string> cases[] = {
      {"thing A: T\r\nend", "Line 1: expected 'object'"},
      {head + "  Left\r\n  Top = 5\r\nend\r\n", "Line 2: expected '=' after the property name"},
      {head + "  Left = 1\r\n", "Line 3: expected 'end'"},
      {head + "  Left = 99999999999999999999\r\nend", "Line 2: an integer out of range"},
      {head + "  Caption = 'open\r\nend", "Line 2: a text not closed on its line"},
      {head + "  Caption = #1114112\r\nend", "Line 2: a character code out of range"},
      {head + "  Data = {0G}\r\nend", "Line 2: expected hexadecimal digits or '}'"},
      {head + "  Data = {\r\n    ABC}\r\nend", "Line 3: an odd number of hexadecimal digits"},
      {head + "  Style = [a b]\r\nend", "Line 2: expected ',' or ']' in the set"},
      {head + "  Price = 1.23456c\r\nend",
       "Line 2: expected a currency amount with at most four decimals"},
      {head + "  object B: T\r\n  end\r\n  Left = 1\r\nend",
       "Line 4: a property after a child object"},
      {head + "end\r\nend\r\n", "Line 3: text after the object's end"},
      // A zero type byte ends a list, and a length byte from F0 hex up
      // starts a prefix: neither can stand in the binary form.
      {head + "  Lines = (\r\n    Null)\r\nend", "Line 3: Null in a list"},
      {"object " + std::string(240, 'T') + "\r\nend",
       "Line 1: a class name longer than 239 characters"},
      {deep, "Line 66: objects nested more than 64 deep"},
  };
  for (const auto& [text, message] : cases) {
    TMemoryStream in(std::vector<uint8_t>(text.begin(), text.end())), out;
    try {
      ObjectTextToBinary(in, out);
      ADD_FAILURE() << "accepted: " << text;
    } catch (const EReadError& e) {
      EXPECT_EQ(std::string(e.what()), message) << text;
    }
    EXPECT_EQ(out.Size(), 0) << "nothing is written from a broken text";
  }
  // The binary side gives the binary reader's errors.
  std::string binary = AsString(TBytes().Header("T", "A").Prop("Left").Bytes());
  EXPECT_THROW(ObjectBinaryToText(binary), EReadError);
  EXPECT_THROW(ObjectBinaryToText("TPF1"), EReadError);
}

}  // namespace
}  // namespace pixvane
