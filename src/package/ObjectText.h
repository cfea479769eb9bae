#pragma once
#include <string>
#include <string_view>

namespace pixvane {

class TStream;

// The text form of one object of the binary object stream, for skins kept as
// readable, diffable text. The conversion works on the stream alone, value by
// value in the stream's own order, so it needs no class registry; leaving out
// defaults and ordering properties is the binary writer's business.
//
//   object Name: TClass           ("object TClass" when the name is empty)
//     Left = -12                  integers in decimal
//     Align = saClient            identifiers as they are; True, False, nil, Null
//     Font.Name = 'It''s'#9'x'    8-bit text in quotes, a quote doubled, a byte
//                                 outside 32..126 as #n (its decimal value)
//     Caption = 'Café'            UTF-8 text: code points from 128 up as
//                                 themselves (the text form is UTF-8), others
//                                 as for 8-bit text
//     Font.Style = [fsBold, fsItalic]
//     Ratio = 1.5                 floats with a "." or an exponent; suffix s
//                                 for 32-bit, d for date, c for currency
//     Objects = {00000000}        binary data in uppercase hexadecimal; from 32
//                                 bytes on, 32 to a line, two spaces deeper
//     Lines = (                   a list, one value per line
//       'a'
//       1)
//     Items = <                   a collection of items of properties
//       item [2]
//         Tag = 1
//       end>
//     object Child: TClass        child objects follow the properties
//     end
//   end
//
// Lines end with CR LF (LF alone reads as well, as does a leading UTF-8 byte
// order mark) and indent two spaces per level. A prefixed object
// starts with "inherited" or "inline" instead of "object" and may carry its
// child position as " [n]" after the class name. What the binary form cannot
// hold is refused: names over 255 characters (class names over 239, whose
// length byte would read as a prefix), Null inside a list (its zero byte ends
// the list), nesting of objects, lists and collections more than 64 deep.
//
// Going back, each value takes the type the binary writer would give it: the
// narrowest integer type, ShortText up to 255 bytes and LongText above, and
// Utf8Text for a text holding any character from 128 up written as itself or
// any #n above 255. So text -> binary -> text gives the same text, and
// binary -> text -> binary the same bytes for everything the writer produces.

// Reads one object (from its signature "TPF0" to its end) at the binary
// stream's position, leaving the position after it, and writes its text form.
// Errors are those of the binary reader ("Stream read error", "Invalid stream
// format", "Invalid property value", the last also for a name that is not one
// of letters, digits and "_" or a float that is not finite, which have no
// text); nothing is written then.
void ObjectBinaryToText(TStream& binary, TStream& text);

// Reads the text form of one object from the text stream's position to its end
// and writes the binary object. Bad text raises EReadError naming the line,
// as in "Line 7: expected '=' after the property name"; nothing is written then.
void ObjectTextToBinary(TStream& text, TStream& binary);

// The same on bytes held in memory.
std::string ObjectBinaryToText(std::string_view binary);
std::string ObjectTextToBinary(std::string_view text);

}  // namespace pixvane
