// Part of every precompiled header: names the checkout the precompiled form
// was made in (see lumigra_pch in cmake/Lumigra.cmake). No code uses it.
#pragma once
namespace lumigra_pch {
inline constexpr char checkout[] = LUMIGRA_PCH_CHECKOUT;
}
