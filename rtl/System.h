// Basic types of the runtime library: the integer and float names the design
// uses, the UTF-16 String, TObject and the class-reference helpers.
// Portable: no Windows header.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <type_traits>
#include <typeinfo>

namespace rtl {}

using Integer = std::int32_t;
using Cardinal = std::uint32_t;
using LongInt = std::int32_t;
using LongWord = std::uint32_t;
using ShortInt = std::int8_t;
using SmallInt = std::int16_t;
using Byte = std::uint8_t;
using Word = std::uint16_t;
using Int64 = std::int64_t;
using UInt64 = std::uint64_t;
using NativeInt = std::intptr_t;
using NativeUInt = std::uintptr_t;
using Single = float;
using Double = double;
using Extended = long double;  // the 80-bit type on x86-64, as the design's Extended
using Boolean = bool;
using WideChar = char16_t;
using Char = char16_t;
using AnsiChar = char;
using TDateTime = double;  // days since 1899-12-30, fraction = time of day

// UTF-16 text, as the design's strings. Literals are u"...".
using String = std::u16string;
using UnicodeString = std::u16string;
using WideString = std::u16string;
using RawByteString = std::string;  // bytes, no encoding implied
using AnsiString = std::string;     // bytes in the ANSI code page (or UTF-8 where said)

using TBytes = std::basic_string<Byte>;

struct TPoint {
  Integer X = 0;
  Integer Y = 0;
  constexpr TPoint() = default;
  constexpr TPoint(Integer x, Integer y) : X(x), Y(y) {}
  friend constexpr bool operator==(const TPoint&, const TPoint&) = default;
};

// Half-open rectangle: Right and Bottom are one past the last column and row.
struct TRect {
  Integer Left = 0;
  Integer Top = 0;
  Integer Right = 0;
  Integer Bottom = 0;
  constexpr TRect() = default;
  constexpr TRect(Integer l, Integer t, Integer r, Integer b) : Left(l), Top(t), Right(r), Bottom(b) {}
  constexpr Integer Width() const { return Right - Left; }
  constexpr Integer Height() const { return Bottom - Top; }
  constexpr TPoint TopLeft() const { return TPoint(Left, Top); }
  constexpr TPoint BottomRight() const { return TPoint(Right, Bottom); }
  friend constexpr bool operator==(const TRect&, const TRect&) = default;
};

constexpr TPoint Point(Integer x, Integer y) { return TPoint(x, y); }
constexpr TRect Rect(Integer l, Integer t, Integer r, Integer b) { return TRect(l, t, r, b); }
constexpr TRect Bounds(Integer l, Integer t, Integer w, Integer h) { return TRect(l, t, l + w, t + h); }

// The root of the class hierarchy. Objects are owned through raw pointers as
// the design owns them ("whoever creates frees"); FreeObject and FreeAndNil
// tolerate nullptr.
class TObject {
 public:
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject() = default;

  // Called by FreeObject before delete, while the whole object still exists
  // (the mirror of a constructor's end): a class tears down here what must
  // go while its overrides still dispatch (owned components, windows). An
  // exception raised here leaves the object alive. A plain delete skips it,
  // so destructors still clean up whatever it did not.
  virtual void BeforeDestruction() {}

  // The class name as the design spells it ("TStringList"). Classes that are
  // looked up or shown by name override it.
  virtual String ClassName() const;

  // True when this object is of class T or derived from it.
  template <class T>
  bool InheritsFrom() const { return dynamic_cast<const T*>(this) != nullptr; }
};

// Frees an object (nullptr allowed): BeforeDestruction, then delete.
inline void FreeObject(TObject* Obj) {
  if (Obj == nullptr) return;
  Obj->BeforeDestruction();
  delete Obj;
}

// Frees an object (nullptr allowed) and clears the reference first.
template <class T>
inline void FreeAndNil(T*& obj) {
  T* tmp = obj;
  obj = nullptr;
  if constexpr (std::is_base_of_v<TObject, T>)
    FreeObject(tmp);
  else
    delete tmp;
}

// Unqualified class name of a C++ type ("rtl::TStringList" -> "TStringList").
String DemangledClassName(const std::type_info& ti);
