// The readable text form of component streams, shared by its compiler and
// its printer:
//
//   // a comment
//   object ZelkVSTModule: TZelkVSTModule       (inherited/inline for the flags,
//     Flags = [pfHasEditor, pfFlagsCanReplacing]   "[n]" after the class for a
//     Version = '0.0'                              child position)
//     Units = '°'  Title = 'It''s'#13#10'new'
//     SampleRate = 44100.0   Count = -11   Big = 5000000000
//     Curve = ctLinear   Enabled = True   Link = nil   Other = Form.List
//     Items = <
//       item
//         Name = 'first'
//       end
//       item 3
//       end>
//     Data = { 0A1B2C }   Picture = file('knob.dib')   Values = ( 1 2 )
//     DIB.Data = picture('pictures/knob.png')
//     object Child: TChildClass
//     end
//   end
//
// file('path') and picture('path') are binary values that the compiler's
// caller supplies (TextFormCompiler.h): a file's bytes, and a picture file's
// pixels as a stored image block.
//
// Names are dotted identifiers; any other name, and a name or identifier
// value spelled like a keyword, is written in back quotes (`end`), the
// bytes as they are with `` for a back quote. Text in quotes is UTF-8; #n
// is the character with code n. Text of ASCII characters and #n codes below
// 256 is stored as 8-bit text (tag 6, or 12 beyond 255 bytes), any other as
// UTF-16 (tag 18). Integers take the smallest integer tag, numbers with a
// point or an exponent (and +Inf, -Inf, +NaN) are extended floats: with up
// to 17 significant digits (as every double's shortest text has) the double
// nearest to them, with more the extended value nearest to them. Extended
// values that no double holds print with 18 to 21 digits, so that they
// compile back to the same 80 bits (NaN payloads excepted).
#pragma once

#include <string_view>

namespace zelk::textform {

inline constexpr int kMaxNesting = 256;

// A letter or '_' followed by letters, digits or '_', optionally joined by dots.
bool IsPlainName(std::string_view name);
// Words that start or end blocks; a name spelled like one is back-quoted.
bool IsBlockKeyword(std::string_view word);
// Identifiers that the compiler turns into tags of their own (True, False,
// nil, Null) or that introduce a value (file, picture).
bool IsValueKeyword(std::string_view word);

}  // namespace zelk::textform
