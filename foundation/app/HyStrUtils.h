// String routines shared by the program: random texts, padding, searching,
// number lists and version and size texts. Portable: no Windows header.
#pragma once

#include <bitset>
#include <vector>

#include "rtl/System.h"

// Character classes of RandomStr, summed; 0 means all three.
inline constexpr Integer rcDigits = 1;
inline constexpr Integer rcUpper = 2;
inline constexpr Integer rcLower = 4;

// N random characters drawn uniformly from those of codes 48..122 that belong
// to Classes.
String RandomStr(Integer N, Integer Classes);

String IfThenStr(bool Cond, const String& A, const String& B);
Integer IfThenInt(bool Cond, Integer A, Integer B);
// 1-based position of the last occurrence; 0 when absent or SubText is empty.
Integer LastPos(const String& Text, const String& SubText);
// Occurrences of SubText in Text, overlapping ones counted; 0 for an empty SubText.
Integer CountOccurrences(const String& SubText, const String& Text);
// Members 0..Max of the set, ascending, joined by Separator.
String SetToStr(const std::bitset<256>& Set, const String& Separator, Integer Max);
// From..To joined by SepChar; empty when From > To.
String RangeToStr(Integer From, Integer To, Char SepChar);
// Count numbers from Start, each one more (Ascending) or less, joined by Separator.
String NumberSeqToStr(const String& Separator, Integer Start, Integer Count, bool Ascending);
String PadToLength(const String& Text, Integer Len, Char PadChar, bool PadLeft);
// With EachChar one element per character; otherwise the pieces between
// occurrences of Separator. An empty Text gives no elements.
void SplitToVariant(const String& Separator, const String& Text, bool EachChar, std::vector<String>& V);
// "=", "<" (V1 older) or ">" comparing dotted versions part by part; empty when
// either is empty or a part is not a decimal integer.
String CompareVersion(const String& V1, const String& V2);
// "1023 Bytes", "2 KB", "1.5 MB", "150 MB", "1.5 GB"; halves round to even.
String ByteSizeToStr(Int64 Size, Char DecimalSeparator = u'.');
// The text of a downloaded body: a UTF-8, UTF-16LE or UTF-16BE byte-order mark
// names the encoding; without one, UTF-8 when the bytes up to the first zero
// byte are valid UTF-8 with at least one multi-byte sequence, else ANSI.
String DecodeTextBytes(const RawByteString& Bytes);
