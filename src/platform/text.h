#pragma once
// Text helpers over Windows-1252 byte strings: one byte is one character.
#include <string>
#include <string_view>
#include <vector>

namespace vorsa {

/// Trims spaces and tabs at both ends: "  a b\t" -> "a b".
std::string Trim(std::string_view s);
/// Upper/lower case of Windows-1252 text, accented letters included ("città" -> "CITTÀ").
std::string ToUpper(std::string_view s);
std::string ToLower(std::string_view s);
/// Case-insensitive comparison in Windows-1252.
bool EqualsNoCase(std::string_view a, std::string_view b);
/// Splits at every `sep`: "a;;b" -> {"a", "", "b"}; "" -> {""}.
std::vector<std::string> Split(std::string_view s, char sep);
/// Replaces every occurrence of `from` (not empty) with `to`.
std::string ReplaceAll(std::string_view s, std::string_view from, std::string_view to);
/// First n characters (all when shorter).
std::string Left(std::string_view s, std::size_t n);
/// Last n characters (all when shorter).
std::string Right(std::string_view s, std::size_t n);

/// Leading integer of a text, like the classic Val(): " 12abc" -> 12, "x" -> 0, "-3" -> -3.
/// Saturates at the limits of long long instead of overflowing.
long long Val(std::string_view s);
/// True when the whole trimmed text is an optional sign followed by digits.
bool IsInteger(std::string_view s);

/// Windows-1252 <-> UTF-8 at the edges (widgets, OS paths). Unmappable characters become '?'.
std::string Cp1252ToUtf8(std::string_view s);
std::string Utf8ToCp1252(std::string_view s);

}  // namespace vorsa
