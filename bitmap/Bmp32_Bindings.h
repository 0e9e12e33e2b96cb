// Bitmap engine function registries: per engine unit, a named registry of
// alternative implementations of its hot routines; each call slot (a global
// function-pointer variable) is bound to the implementation registered LAST
// among those whose required processor features are all present.
//
// Holds: TFunctionInfo, TBindingEntry, TFunctionPriority, StandardPriority,
// TFunctionRegistry (Add, RegisterBinding, FindFunction, Rebind, RebindAll,
// Clear), CreateRegistry, Registries() and FreeRegistries().
//
// Usage by a unit:
//   inline constexpr TFunctionID<TBlendReg> FID_BLENDOVER{10};  // the slot's type rides on its ID
//   TFunctionRegistry* R = CreateRegistry(u"Bmp32_Blend bindings");
//   R->RegisterBinding(FID_BLENDOVER, &BlendOver);      // BlendOver is a slot variable
//   R->Add(FID_BLENDOVER, BlendOver_Scalar);             // no features: always usable
//   R->Add(FID_BLENDOVER, BlendOver_SSE2, {ciSSE2});
//   R->RebindAll();
// A slot variable or an implementation whose type is not the ID's slot type
// does not compile: nothing is ever called through the wrong type.
// Portable: no Windows header.
#pragma once

#include <cstring>
#include <type_traits>
#include <vector>

#include "bitmap/Bmp32_System.h"
#include "rtl/System.h"

// A function ID (slot number of a registry) carrying its slot's type P, a
// function-pointer type. It reads as the Integer it is.
template <class P>
struct TFunctionID {
  Integer Value;
  constexpr operator Integer() const { return Value; }
};

struct TFunctionInfo {
  Integer FunctionID = 0;
  void* Proc = nullptr;
  TCPUFeatures CPUFeatures;
  Integer Flags = 0;
};
using PFunctionInfo = TFunctionInfo*;

struct TBindingEntry {
  Integer FunctionID = 0;
  void* BindVariable = nullptr;  // address of a function-pointer variable
};
using PBindingEntry = TBindingEntry*;

// Lower is better; $7FFFFFFF = not usable.
using TFunctionPriority = Integer (*)(PFunctionInfo Info);
inline constexpr Integer INVALID_PRIORITY = 0x7FFFFFFF;
// 0 when every feature of Info is present, else INVALID_PRIORITY.
Integer StandardPriority(PFunctionInfo Info);

class TFunctionRegistry : public TObject {
 public:
  TFunctionRegistry() = default;
  ~TFunctionRegistry() override;

  const String& Name() const { return FName; }
  void SetName(const String& Value) { FName = Value; }

  // Proc must have exactly the slot type of FunctionID.
  template <class P>
  void Add(TFunctionID<P> FunctionID, std::type_identity_t<P> Proc, TCPUFeatures CPUFeatures = {},
           Integer Flags = 0) {
    AddProc(FunctionID, reinterpret_cast<void*>(Proc), CPUFeatures, Flags);
  }
  // BindVariable is a slot of FunctionID's type.
  template <class P>
  void RegisterBinding(TFunctionID<P> FunctionID, std::type_identity_t<P>* BindVariable) {
    RegisterVariable(FunctionID, static_cast<void*>(BindVariable));
  }
  // Walks the infos from last to first; nil when nothing is usable.
  // A nil callback means StandardPriority.
  void* FindFunction(Integer FunctionID, TFunctionPriority PriorityCallback = nullptr);
  void Rebind(Integer FunctionID, TFunctionPriority PriorityCallback = nullptr);
  void RebindAll(TFunctionPriority PriorityCallback = nullptr);
  void Clear();

  Integer InfoCount() const { return Integer(FItems.size()); }
  Integer BindingCount() const { return Integer(FBindings.size()); }

 private:
  void AddProc(Integer FunctionID, void* Proc, TCPUFeatures CPUFeatures, Integer Flags);
  void RegisterVariable(Integer FunctionID, void* BindVariable);
  std::vector<PFunctionInfo> FItems;
  std::vector<PBindingEntry> FBindings;
  String FName;
};

// Creates a registry with that name and appends it to the global list.
TFunctionRegistry* CreateRegistry(const String& Name);
// The global list in creation order (the registries are owned by it).
const std::vector<TFunctionRegistry*>& Registries();
// Frees every registry (last to first) and empties the list.
void FreeRegistries();
