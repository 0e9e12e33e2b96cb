// The statuses of the GDI+ flat calls, kept instead of dropped.
//
// The object layer (gdiplus/) and the bridge call the flat functions through
// Gp, which has a member of the same name and parameters for every slot of
// the table (Gp.GdipFillPath(G, B, P) calls Api.GdipFillPath). Each status
// passes through NoteStatus: it becomes the thread's last status
// (LastStatus), and while tracing is on (the tests switch it on) a status
// other than Ok is recorded with the function's name and written to standard
// error. Nothing is raised: a refused call still does nothing, as before.
// Plain types only.
#pragma once

#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "platform/GdiPlusFlat.h"

namespace gdipflat {

// The status of this thread's last call made through Gp (Ok before any).
GpStatus LastStatus();
// Keeps St as this thread's last status and traces it when it is not Ok.
GpStatus NoteStatus(GpStatus St, const char* Name);

// Tracing of refused calls, on or off for the whole process.
void TraceStatuses(bool On);
// The refused calls traced since the last clear, "Name: status" each.
std::vector<std::string> TracedFailures();
void ClearTracedFailures();

#define LUMIGRA_GDIP_NOTED_CALL(Ret, Name, Params)                     \
  template <class... A>                                                \
  Ret Name(A&&... Args) const {                                        \
    if constexpr (std::is_same_v<Ret, GpStatus>)                       \
      return NoteStatus(Api.Name(std::forward<A>(Args)...), #Name);    \
    else                                                               \
      return Api.Name(std::forward<A>(Args)...);                       \
  }

struct TGdiPlusCalls {
  LUMIGRA_GDIP_LIBRARY_FUNCTIONS(LUMIGRA_GDIP_NOTED_CALL)
  LUMIGRA_GDIP_BRIDGE_FUNCTIONS(LUMIGRA_GDIP_NOTED_CALL)
};

#undef LUMIGRA_GDIP_NOTED_CALL

// The flat table with every status noted.
inline constexpr TGdiPlusCalls Gp{};

// A flat function as a value (for code that takes the getter to call).
#define GP_FUNCTION(Name) \
  [](auto&&... Args) { return ::gdipflat::Gp.Name(std::forward<decltype(Args)>(Args)...); }

}  // namespace gdipflat
