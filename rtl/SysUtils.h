// Exceptions, string routines and conversions of the runtime library, with
// the class library's semantics: 1-based positions, Pos = 0 when absent,
// Copy/Delete/Insert clamp out-of-range arguments, "." always as the decimal
// separator in float text, and the class library's message texts.
// Portable: no Windows header (the locale-aware Ansi* routines go through a
// platform seam: Win32 under Wine, a portable mapping natively).
#pragma once

#include <exception>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "rtl/System.h"

// ---------------------------------------------------------------------------
// Message texts of the class library (resource-string names as it has them).

inline constexpr const char16_t* SInvalidInteger = u"'%s' is not a valid integer value";
inline constexpr const char16_t* SInvalidFloat = u"'%s' is not a valid floating point value";
inline constexpr const char16_t* SInvalidBoolean = u"'%s' is not a valid boolean value";
inline constexpr const char16_t* SInvalidFormat = u"Format '%s' invalid or incompatible with argument";
inline constexpr const char16_t* SArgumentMissing = u"No argument for format '%s'";
inline constexpr const char16_t* SInvalidCast = u"Invalid class typecast";
inline constexpr const char16_t* SAssertionFailed = u"Assertion failure";
inline constexpr const char16_t* SAssertError = u"%s (%s, line %d)";
inline constexpr const char16_t* SOutOfMemory = u"Out of memory";
inline constexpr const char16_t* SRangeError = u"Range check error";
inline constexpr const char16_t* SIntOverflow = u"Integer overflow";
inline constexpr const char16_t* SDivByZero = u"Division by zero";
inline constexpr const char16_t* SZeroDivide = u"Floating point division by zero";
inline constexpr const char16_t* SOverflow = u"Floating point overflow";
inline constexpr const char16_t* SUnderflow = u"Floating point underflow";
inline constexpr const char16_t* SInvalidOp = u"Invalid floating point operation";
inline constexpr const char16_t* SOperationAborted = u"Operation aborted";
inline constexpr const char16_t* SOSError = u"System Error.  Code: %d.\n%s";
inline constexpr const char16_t* SUnkOSError = u"A call to an OS function failed";
inline constexpr const char16_t* SNotImplemented = u"Feature not implemented";
inline constexpr const char16_t* SListIndexError = u"List index out of bounds (%d)";
inline constexpr const char16_t* SListCapacityError = u"List capacity out of bounds (%d)";
inline constexpr const char16_t* SListCountError = u"List count out of bounds (%d)";
inline constexpr const char16_t* SSortedListError = u"Operation not allowed on sorted list";
inline constexpr const char16_t* SDuplicateString = u"String list does not allow duplicates";
inline constexpr const char16_t* SDuplicateItem = u"List does not allow duplicates ($0%x)";
inline constexpr const char16_t* SReadError = u"Stream read error";
inline constexpr const char16_t* SWriteError = u"Stream write error";
inline constexpr const char16_t* SFCreateError = u"Cannot create file %s";
inline constexpr const char16_t* SFOpenError = u"Cannot open file %s";
inline constexpr const char16_t* SFCreateErrorEx = u"Cannot create file \"%s\". %s";
inline constexpr const char16_t* SFOpenErrorEx = u"Cannot open file \"%s\". %s";
inline constexpr const char16_t* SMemoryStreamError = u"Out of memory while expanding memory stream";
inline constexpr const char16_t* SCantWriteResourceStreamError = u"Can't write to a read-only resource stream";
inline constexpr const char16_t* SResNotFound = u"Resource %s not found";
inline constexpr const char16_t* SDuplicateName = u"A component named %s already exists";
inline constexpr const char16_t* SInvalidName = u"''%s'' is not a valid component name";

// ---------------------------------------------------------------------------
// TVarRec: one argument of Format (the class library's "array of const").
// Built implicitly from the usual C++ values, so Format(u"%d %s", {5, S}).

enum TVarType : Byte {
  vtInteger,
  vtInt64,
  vtUInt64,
  vtExtended,
  vtUnicodeString,
  vtPWideChar,
  vtWideChar,
  vtChar,
  vtPChar,
  vtAnsiString,
  vtBoolean,
  vtPointer,
  vtObject,
};

class TVarRec {
 public:
  TVarRec(int v) : VType(vtInteger) { u.VInteger = v; }
  TVarRec(unsigned int v) : VType(vtInt64) { u.VInt64 = v; }
  TVarRec(long v) : VType(vtInt64) { u.VInt64 = v; }
  TVarRec(long long v) : VType(vtInt64) { u.VInt64 = v; }
  TVarRec(unsigned long v) : VType(vtUInt64) { u.VUInt64 = v; }
  TVarRec(unsigned long long v) : VType(vtUInt64) { u.VUInt64 = v; }
  TVarRec(short v) : TVarRec(static_cast<int>(v)) {}
  TVarRec(unsigned short v) : TVarRec(static_cast<int>(v)) {}
  TVarRec(signed char v) : TVarRec(static_cast<int>(v)) {}
  TVarRec(unsigned char v) : TVarRec(static_cast<int>(v)) {}
  TVarRec(float v) : VType(vtExtended) { u.VExtended = v; }
  TVarRec(double v) : VType(vtExtended) { u.VExtended = v; }
  TVarRec(long double v) : VType(vtExtended) { u.VExtended = v; }
  TVarRec(bool v) : VType(vtBoolean) { u.VBoolean = v; }
  TVarRec(char16_t v) : VType(vtWideChar) { u.VWideChar = v; }
  TVarRec(char v) : VType(vtChar) { u.VChar = v; }
  TVarRec(const String& v) : VType(vtUnicodeString), VString(v) {}
  TVarRec(String&& v) : VType(vtUnicodeString), VString(std::move(v)) {}
  TVarRec(std::u16string_view v) : VType(vtUnicodeString), VString(v) {}
  TVarRec(const char16_t* v) : VType(vtPWideChar) { u.VPWideChar = v; }
  TVarRec(char16_t* v) : VType(vtPWideChar) { u.VPWideChar = v; }
  TVarRec(const char* v) : VType(vtPChar) { u.VPChar = v; }
  TVarRec(char* v) : VType(vtPChar) { u.VPChar = v; }
  TVarRec(const std::string& v) : VType(vtAnsiString), VAnsi(v) {}
  TVarRec(const TObject* v) : VType(vtObject) { u.VObject = v; }
  TVarRec(TObject* v) : VType(vtObject) { u.VObject = v; }
  TVarRec(const void* v) : VType(vtPointer) { u.VPointer = v; }
  TVarRec(void* v) : VType(vtPointer) { u.VPointer = v; }
  TVarRec(std::nullptr_t) : VType(vtPointer) { u.VPointer = nullptr; }

  TVarType VType;
  union {
    Integer VInteger;
    Int64 VInt64;
    UInt64 VUInt64;
    Extended VExtended;
    Boolean VBoolean;
    Char VWideChar;
    AnsiChar VChar;
    const char16_t* VPWideChar;
    const char* VPChar;
    const void* VPointer;
    const TObject* VObject;
  } u{};
  String VString;      // vtUnicodeString
  std::string VAnsi;   // vtAnsiString
};

using TVarRecList = std::initializer_list<TVarRec>;

// ---------------------------------------------------------------------------
// Exceptions. Throw by value, catch by reference: throw EConvertError(u"...").
// Every class takes (Msg) or (Fmt, {Args}) like the class library's Create and
// CreateFmt.

class Exception : public TObject, public std::exception {
 public:
  Exception();
  explicit Exception(const String& Msg);
  explicit Exception(const char16_t* Msg);
  Exception(const String& Fmt, TVarRecList Args);
  Exception(const Exception& Other);
  Exception& operator=(const Exception& Other);
  ~Exception() override;

  static Exception CreateFmt(const String& Fmt, TVarRecList Args) { return Exception(Fmt, Args); }

  const String& Message() const { return FMessage; }
  void SetMessage(const String& Value);
  // The message as UTF-8.
  const char* what() const noexcept override;

 private:
  String FMessage;
  std::string FWhat;
};

#define LUMIGRA_DECLARE_EXCEPTION(Name, Base)                                                      \
  class Name : public Base {                                                                       \
   public:                                                                                         \
    using Base::Base;                                                                              \
    static Name CreateFmt(const String& Fmt, TVarRecList Args) { return Name(Fmt, Args); }         \
  };

LUMIGRA_DECLARE_EXCEPTION(EAbort, Exception)
LUMIGRA_DECLARE_EXCEPTION(EConvertError, Exception)
LUMIGRA_DECLARE_EXCEPTION(EListError, Exception)
LUMIGRA_DECLARE_EXCEPTION(EStringListError, Exception)
LUMIGRA_DECLARE_EXCEPTION(EStreamError, Exception)
LUMIGRA_DECLARE_EXCEPTION(EFileStreamError, EStreamError)
LUMIGRA_DECLARE_EXCEPTION(EFCreateError, EFileStreamError)
LUMIGRA_DECLARE_EXCEPTION(EFOpenError, EFileStreamError)
LUMIGRA_DECLARE_EXCEPTION(EFilerError, EStreamError)
LUMIGRA_DECLARE_EXCEPTION(EReadError, EFilerError)
LUMIGRA_DECLARE_EXCEPTION(EWriteError, EFilerError)
LUMIGRA_DECLARE_EXCEPTION(EResNotFound, Exception)
LUMIGRA_DECLARE_EXCEPTION(EComponentError, Exception)
LUMIGRA_DECLARE_EXCEPTION(EInvalidCast, Exception)
LUMIGRA_DECLARE_EXCEPTION(EAssertionFailed, Exception)
LUMIGRA_DECLARE_EXCEPTION(EOutOfMemory, Exception)
LUMIGRA_DECLARE_EXCEPTION(EInvalidOperation, Exception)
LUMIGRA_DECLARE_EXCEPTION(EInvalidPointer, Exception)
LUMIGRA_DECLARE_EXCEPTION(EArgumentException, Exception)
LUMIGRA_DECLARE_EXCEPTION(EArgumentOutOfRangeException, EArgumentException)
LUMIGRA_DECLARE_EXCEPTION(ENotImplemented, Exception)
LUMIGRA_DECLARE_EXCEPTION(ENotSupportedException, Exception)
LUMIGRA_DECLARE_EXCEPTION(EIntError, Exception)
LUMIGRA_DECLARE_EXCEPTION(ERangeError, EIntError)
LUMIGRA_DECLARE_EXCEPTION(EIntOverflow, EIntError)
LUMIGRA_DECLARE_EXCEPTION(EDivByZero, EIntError)
LUMIGRA_DECLARE_EXCEPTION(EMathError, Exception)
LUMIGRA_DECLARE_EXCEPTION(EZeroDivide, EMathError)
LUMIGRA_DECLARE_EXCEPTION(EOverflow, EMathError)
LUMIGRA_DECLARE_EXCEPTION(EUnderflow, EMathError)
LUMIGRA_DECLARE_EXCEPTION(EInvalidOp, EMathError)

#undef LUMIGRA_DECLARE_EXCEPTION

// An operating-system error with its code (GetLastError / errno).
class EOSError : public Exception {
 public:
  using Exception::Exception;
  static EOSError CreateFmt(const String& Fmt, TVarRecList Args) { return EOSError(Fmt, Args); }
  Cardinal ErrorCode = 0;
};

// A file-system error with its code, as the class library's I/O errors.
class EInOutError : public Exception {
 public:
  using Exception::Exception;
  static EInOutError CreateFmt(const String& Fmt, TVarRecList Args) { return EInOutError(Fmt, Args); }
  Integer ErrorCode = 0;
};

// Throws EAbort: the silent exception that Application does not show.
[[noreturn]] void Abort();
// Throws EOSError for the last OS error ("System Error.  Code: %d.\n%s").
[[noreturn]] void RaiseLastOSError();
[[noreturn]] void RaiseLastOSError(Cardinal LastError);
// Text of an OS error code.
String SysErrorMessage(Cardinal ErrorCode);
// Throws EAssertionFailed unless Condition holds ("Assertion failure", or Msg).
void Assert(bool Condition, const String& Msg = String());

// Checked downcast: "Obj as T". nullptr passes through; an object of another
// class raises EInvalidCast "Invalid class typecast".
[[noreturn]] void RaiseInvalidCast();
template <class T>
T* As(TObject* Obj) {
  if (Obj == nullptr) return nullptr;
  T* r = dynamic_cast<T*>(Obj);
  if (r == nullptr) RaiseInvalidCast();
  return r;
}
template <class T>
const T* As(const TObject* Obj) {
  if (Obj == nullptr) return nullptr;
  const T* r = dynamic_cast<const T*>(Obj);
  if (r == nullptr) RaiseInvalidCast();
  return r;
}
// "Obj is T".
template <class T>
bool Is(const TObject* Obj) {
  return dynamic_cast<const T*>(Obj) != nullptr;
}

// ---------------------------------------------------------------------------
// Basic string routines (1-based).

inline Integer Length(const String& S) { return static_cast<Integer>(S.size()); }
// Resizes; new characters are #0.
void SetLength(String& S, Integer NewLength);

// Position of the first Sub in S, 1-based; 0 when absent or Sub is empty.
Integer Pos(const String& Sub, const String& S);
Integer Pos(Char C, const String& S);
// As Pos, starting the search at Offset (1-based); 0 when Offset < 1 or past the end.
Integer PosEx(const String& Sub, const String& S, Integer Offset = 1);
Integer PosEx(Char C, const String& S, Integer Offset = 1);
// Count characters from Index (1-based). Index < 1 counts as 1, Count < 0 as 0,
// and the part past the end is dropped.
String Copy(const String& S, Integer Index, Integer Count = 0x7FFFFFFF);
// Removes Count characters from Index; nothing when Index is outside 1..Length.
void Delete(String& S, Integer Index, Integer Count);
// Inserts Sub before position Index; Index < 1 inserts at the start, past the end appends.
void Insert(const String& Sub, String& S, Integer Index);

String Trim(const String& S);       // drops characters <= ' ' at both ends
String TrimLeft(const String& S);
String TrimRight(const String& S);

String UpperCase(const String& S);  // 'a'..'z' only
String LowerCase(const String& S);  // 'A'..'Z' only
Char UpCase(Char C);                // 'a'..'z' only

// Ordinal comparisons. CompareStr: difference of the first differing
// characters (or of the lengths). CompareText: the same after ASCII upper-casing.
Integer CompareStr(const String& S1, const String& S2);
Integer CompareText(const String& S1, const String& S2);
bool SameStr(const String& S1, const String& S2);
bool SameText(const String& S1, const String& S2);

// Locale-aware forms: case mapping of all letters, and the user locale's
// collation (-1, 0, 1 from the comparisons).
String AnsiUpperCase(const String& S);
String AnsiLowerCase(const String& S);
Integer AnsiCompareStr(const String& S1, const String& S2);
Integer AnsiCompareText(const String& S1, const String& S2);
bool AnsiSameStr(const String& S1, const String& S2);
bool AnsiSameText(const String& S1, const String& S2);
Integer AnsiPos(const String& Sub, const String& S);
bool AnsiStartsText(const String& SubText, const String& Text);
bool AnsiEndsText(const String& SubText, const String& Text);
bool AnsiStartsStr(const String& SubText, const String& Text);
bool AnsiEndsStr(const String& SubText, const String& Text);
bool AnsiContainsText(const String& Text, const String& SubText);
bool AnsiContainsStr(const String& Text, const String& SubText);

// The short forms: *Text compares as AnsiSameText does (the user locale's
// case rules), *Str compares ordinally.
bool StartsText(const String& SubText, const String& Text);
bool EndsText(const String& SubText, const String& Text);
bool StartsStr(const String& SubText, const String& Text);
bool EndsStr(const String& SubText, const String& Text);
bool ContainsText(const String& Text, const String& SubText);
bool ContainsStr(const String& Text, const String& SubText);

enum TReplaceFlag : Byte { rfReplaceAll = 1, rfIgnoreCase = 2 };
using TReplaceFlags = Byte;  // rfReplaceAll | rfIgnoreCase
String StringReplace(const String& S, const String& OldPattern, const String& NewPattern, TReplaceFlags Flags = 0);

String StringOfChar(Char Ch, Integer Count);
// 'text' with inner quotes doubled.
String QuotedStr(const String& S);
String AnsiQuotedStr(const String& S, Char Quote);
// Removes the quotes and undoubles inner ones; S unchanged when it does not start with Quote.
String AnsiDequotedStr(const String& S, Char Quote);
// Extracts a quoted string from Src starting at Pos (0-based index into Src);
// Pos is advanced past the closing quote.
String AnsiExtractQuotedStr(const String& Src, size_t& Pos, Char Quote);

// Last position (1-based) of any character of Delimiters in S; 0 if none.
Integer LastDelimiter(const String& Delimiters, const String& S);
// True when S[Index] (1-based) is one of Delimiters.
bool IsDelimiter(const String& Delimiters, const String& S, Integer Index);

bool CharInSet(Char C, std::u16string_view Set);
inline bool CharInSet(Char C, std::initializer_list<Char> Set) {
  for (Char x : Set)
    if (x == C) return true;
  return false;
}

enum TTextLineBreakStyle : Byte { tlbsLF, tlbsCRLF };
// Turns every CR, LF, CR+LF or LF+CR into CR+LF (or LF).
String AdjustLineBreaks(const String& S, TTextLineBreakStyle Style = tlbsCRLF);

// ---------------------------------------------------------------------------
// Integer conversions.

String IntToStr(Int64 Value);
String UIntToStr(UInt64 Value);
// Upper-case hexadecimal, at least Digits digits; negative values in two's complement of the type's width.
String IntToHex(Integer Value, Integer Digits);
String IntToHex(Cardinal Value, Integer Digits);
String IntToHex(Int64 Value, Integer Digits);
String IntToHex(UInt64 Value, Integer Digits);

// Decimal or hexadecimal ("$1F", "0x1F", "0X1F", "x1F") with optional sign,
// leading blanks skipped. Junk and overflow raise EConvertError
// "'%s' is not a valid integer value".
Integer StrToInt(const String& S);
Integer StrToIntDef(const String& S, Integer Default);
bool TryStrToInt(const String& S, Integer& Value);
Int64 StrToInt64(const String& S);
Int64 StrToInt64Def(const String& S, Int64 Default);
bool TryStrToInt64(const String& S, Int64& Value);

// Booleans: "0" is False; any other number and "True" (any case) True;
// "False" (any case) False. BoolToStr: "-1"/"0", or "True"/"False".
bool StrToBool(const String& S);
bool StrToBoolDef(const String& S, bool Default);
bool TryStrToBool(const String& S, bool& Value);
String BoolToStr(bool B, bool UseBoolStrs = false);

// ---------------------------------------------------------------------------
// Float conversions. The decimal separator is always "." and the thousands
// separator ","; the process's C locale plays no part.

enum TFloatFormat : Byte { ffGeneral, ffExponent, ffFixed, ffNumber, ffCurrency };

// General format with 15 significant digits: 0.1 -> "0.1", 1E15 -> "1E15".
String FloatToStr(Extended Value);
// ffGeneral: shortest, Precision significant digits, scientific when the
//   exponent exceeds Precision or the value is below 1E-5 (Digits = minimum exponent digits).
// ffExponent: "-d.dddE+ddd", Precision digits in all, at least Digits exponent digits.
// ffFixed: Digits decimals (scientific when the value has more than Precision integer digits).
// ffNumber: as ffFixed with thousands separators.
String FloatToStrF(Extended Value, TFloatFormat Format, Integer Precision, Integer Digits);
// Picture formats: "0" digit, "#" optional digit, "." decimal point, ","
// thousands, "E+"/"E-"/"e+"/"e-" exponent, quoted literals, ";" sections.
String FormatFloat(const String& Format, Extended Value);

// Optional blanks, sign, digits with "." and an exponent, optional blanks.
// Junk raises EConvertError "'%s' is not a valid floating point value".
Extended StrToFloat(const String& S);
Extended StrToFloatDef(const String& S, Extended Default);
bool TryStrToFloat(const String& S, Extended& Value);
bool TryStrToFloat(const String& S, Double& Value);
bool TryStrToFloat(const String& S, Single& Value);

// ---------------------------------------------------------------------------
// Format: %[index:][-][width][.precision]type with type d u x e f g n s p;
// "*" takes width or precision from the arguments; "%%" is "%".
// A wrong argument type raises EConvertError "Format '%s' invalid or
// incompatible with argument"; a missing one "No argument for format '%s'".

String Format(const String& Fmt, TVarRecList Args);
String Format(const String& Fmt, const TVarRec* Args, size_t Count);
String Format(const String& Fmt, const std::vector<TVarRec>& Args);

// ---------------------------------------------------------------------------
// UTF-8 <-> UTF-16. Invalid UTF-8 (lone continuation bytes, overlong forms,
// truncated sequences, encoded surrogates, values past U+10FFFF, bytes F5..FF)
// never fails: each bad byte becomes U+FFFD. A lone UTF-16 surrogate encodes
// as U+FFFD (EF BF BD).

std::string UTF8Encode(std::u16string_view S);
String UTF8Decode(std::string_view S);
String UTF8ToString(std::string_view S);
inline String UTF8ToString(const std::string& S) { return UTF8Decode(S); }
inline String UTF8ToString(const char* S) { return UTF8Decode(S ? std::string_view(S) : std::string_view()); }

// Plain conversions for ASCII text (literals, debug output): each char widens
// as Latin-1 / each char16_t above 0xFF becomes '?'.
String AsciiToString(std::string_view S);
std::string StringToAscii(const String& S);
// Alias names used around the code base.
inline String ToString(std::string_view Utf8) { return UTF8Decode(Utf8); }
inline std::string ToUtf8(const String& S) { return UTF8Encode(S); }
