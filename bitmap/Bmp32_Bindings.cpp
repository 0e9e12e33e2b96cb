// Function registries of the bitmap engine.
#include "bitmap/Bmp32_Bindings.h"

namespace {
std::vector<TFunctionRegistry*>*& RegistryList() {
  static std::vector<TFunctionRegistry*>* list = nullptr;
  return list;
}
}  // namespace

Integer StandardPriority(PFunctionInfo Info) {
  return ProcessorFeatures().Includes(Info->CPUFeatures) ? 0 : INVALID_PRIORITY;
}

TFunctionRegistry::~TFunctionRegistry() { Clear(); }

void TFunctionRegistry::AddProc(Integer FunctionID, void* Proc, TCPUFeatures CPUFeatures, Integer Flags) {
  auto* info = new TFunctionInfo;
  info->FunctionID = FunctionID;
  info->Proc = Proc;
  info->CPUFeatures = CPUFeatures;
  info->Flags = Flags;
  FItems.push_back(info);
}

void TFunctionRegistry::RegisterVariable(Integer FunctionID, void* BindVariable) {
  auto* entry = new TBindingEntry;
  entry->FunctionID = FunctionID;
  entry->BindVariable = BindVariable;
  FBindings.push_back(entry);
}

void* TFunctionRegistry::FindFunction(Integer FunctionID, TFunctionPriority PriorityCallback) {
  if (!PriorityCallback) PriorityCallback = StandardPriority;
  void* result = nullptr;
  Integer best = INVALID_PRIORITY;
  for (auto it = FItems.rbegin(); it != FItems.rend(); ++it) {
    PFunctionInfo info = *it;
    if (info->FunctionID != FunctionID) continue;
    Integer p = PriorityCallback(info);
    if (p < best) {
      best = p;
      result = info->Proc;
    }
  }
  return result;
}

void TFunctionRegistry::Rebind(Integer FunctionID, TFunctionPriority PriorityCallback) {
  for (PBindingEntry e : FBindings)
    if (e->FunctionID == FunctionID) {
      void* p = FindFunction(FunctionID, PriorityCallback);
      std::memcpy(e->BindVariable, &p, sizeof p);
    }
}

void TFunctionRegistry::RebindAll(TFunctionPriority PriorityCallback) {
  for (PBindingEntry e : FBindings) {
    void* p = FindFunction(e->FunctionID, PriorityCallback);
    std::memcpy(e->BindVariable, &p, sizeof p);
  }
}

void TFunctionRegistry::Clear() {
  for (auto* i : FItems) delete i;
  for (auto* b : FBindings) delete b;
  FItems.clear();
  FBindings.clear();
}

TFunctionRegistry* CreateRegistry(const String& Name) {
  auto*& list = RegistryList();
  if (!list) list = new std::vector<TFunctionRegistry*>;
  auto* r = new TFunctionRegistry;
  r->SetName(Name);
  list->push_back(r);
  return r;
}

const std::vector<TFunctionRegistry*>& Registries() {
  static const std::vector<TFunctionRegistry*> empty;
  auto* list = RegistryList();
  return list ? *list : empty;
}

void FreeRegistries() {
  auto*& list = RegistryList();
  if (!list) return;
  while (!list->empty()) {
    delete list->back();
    list->pop_back();
  }
  delete list;
  list = nullptr;
}
