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
//   TFunctionRegistry* R = CreateRegistry(u"Bmp32_Blend bindings");
//   R->RegisterBinding(FID_BLENDOVER, &BlendOver);      // BlendOver is a slot variable
//   R->Add(FID_BLENDOVER, BlendOver_Scalar);             // no features: always usable
//   R->Add(FID_BLENDOVER, BlendOver_SSE2, {ciSSE2});
//   R->RebindAll();
// Portable: no Windows header.
#pragma once

#include <cstring>
#include <vector>

#include "bitmap/Bmp32_System.h"
#include "rtl/System.h"

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

  void Add(Integer FunctionID, void* Proc, TCPUFeatures CPUFeatures = {}, Integer Flags = 0);
  template <class F>
  void Add(Integer FunctionID, F* Proc, TCPUFeatures CPUFeatures = {}, Integer Flags = 0) {
    Add(FunctionID, reinterpret_cast<void*>(Proc), CPUFeatures, Flags);
  }
  void RegisterBinding(Integer FunctionID, void* BindVariable);
  template <class F>
  void RegisterBinding(Integer FunctionID, F** BindVariable) {
    RegisterBinding(FunctionID, static_cast<void*>(BindVariable));
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
