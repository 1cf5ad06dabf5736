#pragma once
// Windows-1252, the single-byte code page of every record file.

#include <string>
#include <string_view>

namespace records {

// UTF-8 to Windows-1252; a character the code page cannot hold becomes '?'.
// Malformed UTF-8 bytes become '?' too.
std::string Utf8ToCp1252(std::string_view utf8);

// Windows-1252 to UTF-8; the five bytes the code page leaves undefined are
// kept as the C1 control characters of the same value.
std::string Cp1252ToUtf8(std::string_view bytes);

// A text typed by the operator, made fit for one field: TAB, CR and LF
// become blanks so they cannot split the field or the line.
std::string FieldText(std::string_view text);

}  // namespace records
