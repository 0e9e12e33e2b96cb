// The arithmetic of the number fields (spin edit, numeric and track edits,
// the numeric inner edit): which texts are numbers, the two clamp rules,
// when a typed number is rewritten, how a value is shown and which typed
// characters a field accepts. The decimal separator is always ".".
// Portable: no Windows header.
#pragma once

#include "rtl/System.h"

// Scoped: the rtl's variant records already name a vtInteger.
enum class TspValueType : Byte { vtInteger, vtFloat };

// The decimal separator of every number field.
inline constexpr Char NumDecimalSeparator = u'.';

// Whether AText is a number for a field whose current text is Current
// (the controls pass the same text twice): Current is not empty, not "-"
// alone and holds only digits and "-" (with Float also the separator);
// AText holds at most one "-", only first, and with Float at most one
// separator, not first. A text without any digit ("-.", "-") is never a
// number.
bool IsNumText(const String& Current, const String& AText, bool Float);

// The spin edit's clamp: only when Min or Max is not 0.
double ClampSpinValue(double V, double Min, double Max);
// The numeric and track edits' clamp: unless Min equals Max.
double ClampRangeValue(double V, double Min, double Max);

// Whether a typed number P whose clamped value is V is rewritten at once.
bool NumTextNeedsRewrite(double V, double P, double Min, double Max);

// The text of a value: vtFloat in fixed notation with Decimal digits
// (15 significant), vtInteger the value rounded halves to even.
String FormatNumValue(double V, TspValueType Kind, Integer Decimal);

// Parses a text that IsNumText accepted. Float: any double. Integer: parsed
// wide (64 bits); with Ranged (a clamp rule applies) any size is a number
// (it clamps like any other), without a range a number outside 32 bits is
// none. False: not a number (Value untouched). Never raises.
bool ParseNumText(const String& S, bool Float, bool Ranged, double& Value);

// The typed-character filter of the numeric fields. Text is the field's
// text before the key. Refused keys are beeped by the caller.
struct TspNumKeyRules {
  bool Float = false;          // the decimal separator may be typed
  bool EditorEnabled = true;   // false: only control characters (not #8) pass
};
bool NumKeyAccepted(Char Key, const String& Text, const TspNumKeyRules& Rules);
