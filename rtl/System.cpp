#include "rtl/System.h"

#include <cxxabi.h>

#include <cstdlib>
#include <memory>

String DemangledClassName(const std::type_info& ti) {
  int status = 0;
  std::unique_ptr<char, void (*)(void*)> name(abi::__cxa_demangle(ti.name(), nullptr, nullptr, &status), std::free);
  std::string full = (status == 0 && name) ? std::string(name.get()) : std::string(ti.name());
  // Drop template arguments and namespaces: "ns::TFoo<int>" -> "TFoo".
  if (auto lt = full.find('<'); lt != std::string::npos) full.erase(lt);
  if (auto colon = full.rfind("::"); colon != std::string::npos) full.erase(0, colon + 2);
  return String(full.begin(), full.end());
}

String TObject::ClassName() const { return DemangledClassName(typeid(*this)); }
