# Shared build rules of every layer.
#
# Folder conventions (every layer follows them, so nobody edits a list of files):
#   LAYER/*.cpp           portable units: no Windows header; built in both builds
#   LAYER/win/*.cpp       Winelib-only units (Win32, GDI, Wine)
#   LAYER/posix/*.cpp     native-build-only twins of Winelib-only seams
#   LAYER/native/*.cpp    units that include a native library's headers
#                         (Crypto++, zlib, libjpeg, libpng, giflib); in the
#                         Winelib build they are compiled with the Windows
#                         macros undone (see lumigra_native_units)

set(LUMIGRA_ROOT ${CMAKE_CURRENT_LIST_DIR}/..)
get_filename_component(LUMIGRA_ROOT ${LUMIGRA_ROOT} ABSOLUTE)

set(LUMIGRA_WARNINGS -Wall -Wextra)

if(LUMIGRA_NATIVE)
  set(LUMIGRA_SAN_FLAGS)
  if(LUMIGRA_SANITIZE OR LUMIGRA_FUZZ)
    set(LUMIGRA_SAN_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  endif()
  add_compile_options(${LUMIGRA_SAN_FLAGS})
  add_link_options(${LUMIGRA_SAN_FLAGS})
  if(LUMIGRA_FUZZ)
    # Coverage for libFuzzer in every unit; the fuzz targets add its main.
    add_compile_options(-fsanitize=fuzzer-no-link)
  endif()
  add_compile_definitions(LUMIGRA_NATIVE=1)
else()
  # <windows.h> without its min and max macros, in every Winelib unit (the
  # other colliding names are listed in docs/platform-wine.md).
  add_compile_definitions(LUMIGRA_WINE=1 NOMINMAX)
endif()

# The options that undo what wineg++ defines for Windows code, so a native
# library's header takes its POSIX branches and matches the compiled library.
set(LUMIGRA_NATIVE_UNIT_FLAGS
  -U_WIN32 -U_WIN64 -UWIN32 -UWIN64 -U__WIN32 -U__WIN32__ -U__WIN64 -U__WIN64__
  -U__WINNT -U__WINNT__ -U__stdcall -U__cdecl -U__fastcall -U_stdcall -U_cdecl
  -U_fastcall -U__declspec -U__int8 -U__int16 -U__int32 -U__int64 -U__WINE__
  -UWINE_UNICODE_NATIVE -fno-short-wchar)

# Marks sources as native units (no-op in the native build).
function(lumigra_native_units)
  if(NOT LUMIGRA_NATIVE)
    foreach(src IN LISTS ARGN)
      set_property(SOURCE ${src} APPEND PROPERTY COMPILE_OPTIONS ${LUMIGRA_NATIVE_UNIT_FLAGS})
    endforeach()
  endif()
endfunction()

# Units written for one instruction set are named for it and compiled with its
# flag: *Avx2.cpp with -mavx2, *Sse41.cpp with -msse4.1 (x86 only; both
# compilers). Such a unit runs only after a processor check elsewhere, so it
# holds no start-up code and calls no inline routine of a shared header.
function(lumigra_simd_units)
  if(CMAKE_SYSTEM_PROCESSOR MATCHES "x86_64|AMD64|i[3-6]86")
    foreach(src IN LISTS ARGN)
      if(src MATCHES "Avx2\\.cpp$")
        set_property(SOURCE ${src} APPEND PROPERTY COMPILE_OPTIONS -mavx2)
      elseif(src MATCHES "Sse41\\.cpp$")
        set_property(SOURCE ${src} APPEND PROPERTY COMPILE_OPTIONS -msse4.1)
      endif()
    endforeach()
  endif()
endfunction()

# lumigra_pch(TARGET [WINDOWS] HEADER...): the target's units share one
# precompiled form of HEADERs (each unit reads it before its own first line,
# so only headers the units would include anyway, and self-contained). It is
# never given to units compiled with other options than the target's: native
# units (the Windows macros undone) and instruction-set units. WINDOWS: the
# headers need Windows, so only win/ units get them (none in the native
# build); portable units keep to their own includes.
function(lumigra_pch target)
  cmake_parse_arguments(P "WINDOWS" "" "" ${ARGN})
  if(P_WINDOWS AND LUMIGRA_NATIVE)
    return()
  endif()
  get_target_property(srcs ${target} SOURCES)
  foreach(src IN LISTS srcs)
    if(src MATCHES "/native/[^/]*$" OR src MATCHES "(Avx2|Sse41)\\.cpp$" OR (P_WINDOWS AND NOT src MATCHES "/win/[^/]*$"))
      set_property(SOURCE ${src} TARGET_DIRECTORY ${target} PROPERTY SKIP_PRECOMPILE_HEADERS ON)
    endif()
  endforeach()
  set(hdrs ${LUMIGRA_ROOT}/cmake/PchCheckout.h)
  foreach(h IN LISTS P_UNPARSED_ARGUMENTS)
    if(h MATCHES "^<")
      list(APPEND hdrs ${h})
    else()
      list(APPEND hdrs ${LUMIGRA_ROOT}/${h})
    endif()
  endforeach()
  target_precompile_headers(${target} PRIVATE ${hdrs})
  # The precompiled form records the absolute paths of the headers it read.
  # ccache hashes paths inside the checkout relative to it, so another
  # checkout sharing the cache would get this checkout's precompiled form and
  # then see every header twice (two paths): PchCheckout.h puts the
  # checkout's path into the precompiled text, and so into the hash of the
  # target's units.
  target_compile_definitions(${target} PRIVATE "LUMIGRA_PCH_CHECKOUT=\"${LUMIGRA_ROOT}\"")
  # (lets ccache hash a unit that uses the precompiled header; no effect
  # on the compiled code)
  target_compile_options(${target} PRIVATE -fpch-preprocess)
endfunction()

# Collects the sources of a layer folder following the conventions above.
function(lumigra_collect_sources out dir)
  file(GLOB portable CONFIGURE_DEPENDS ${dir}/*.cpp ${dir}/*.c)
  lumigra_simd_units(${portable})
  file(GLOB native CONFIGURE_DEPENDS ${dir}/native/*.cpp ${dir}/native/*.c)
  set(srcs ${portable} ${native})
  if(LUMIGRA_NATIVE)
    file(GLOB posix CONFIGURE_DEPENDS ${dir}/posix/*.cpp)
    list(APPEND srcs ${posix})
  else()
    file(GLOB win CONFIGURE_DEPENDS ${dir}/win/*.cpp ${dir}/win/*.c)
    list(APPEND srcs ${win})
    lumigra_native_units(${native})
  endif()
  set(${out} ${srcs} PARENT_SCOPE)
endfunction()

# lumigra_layer(NAME DIR [DEPS ...] [WINLIBS ...] [NATIVELIBS ...] [LIBS ...]
#               [PCH HEADER...] [WINPCH HEADER...])
# One static library per layer folder. A layer without sources yet is an
# INTERFACE library so dependants link to it all the same. PCH: headers most
# of its units include, precompiled once (lumigra_pch); WINPCH: the same for
# headers that need Windows (its win/ units only).
function(lumigra_layer name dir)
  cmake_parse_arguments(L "" "" "DEPS;WINLIBS;NATIVELIBS;LIBS;PCH;WINPCH" ${ARGN})
  lumigra_collect_sources(srcs ${dir})
  if(srcs)
    add_library(${name} STATIC ${srcs})
    target_include_directories(${name} PUBLIC ${LUMIGRA_ROOT})
    target_compile_options(${name} PRIVATE ${LUMIGRA_WARNINGS})
    target_link_libraries(${name} PUBLIC ${L_DEPS} ${L_LIBS})
    if(LUMIGRA_NATIVE)
      target_link_libraries(${name} PUBLIC ${L_NATIVELIBS})
    else()
      target_link_libraries(${name} PUBLIC ${L_WINLIBS})
    endif()
    if(L_PCH)
      lumigra_pch(${name} ${L_PCH})
    elseif(L_WINPCH)
      lumigra_pch(${name} WINDOWS ${L_WINPCH})
    endif()
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${LUMIGRA_ROOT})
    target_link_libraries(${name} INTERFACE ${L_DEPS})
  endif()
endfunction()

# GoogleTest: the installed static libraries, linked by path (find_package does
# not find them under wineg++).
find_library(LUMIGRA_GTEST_LIB NAMES libgtest.a gtest PATHS /usr/lib/x86_64-linux-gnu /usr/lib REQUIRED)

# Where the test runs of the Winelib build keep their slots (scripts/slots.sh)
# and save their screenshots: scripts/test.sh passes its build folder.
set(LUMIGRA_RUN_DIR ${CMAKE_BINARY_DIR} CACHE PATH "Folder of the test runs' slots and screenshots")

# lumigra_wine_test(TEST...): tests that run programs under Wine (through
# scripts/wine.sh) take a slot of their own and know where screenshots go.
# With a slot each, Wine programs run side by side: no display, pointer,
# focus, key grab or wineserver is shared, so no lock between them.
function(lumigra_wine_test)
  foreach(t IN LISTS ARGN)
    set_property(TEST ${t} APPEND PROPERTY ENVIRONMENT
      "LUMIGRA_SLOTS=${LUMIGRA_RUN_DIR}/wine-slots" "LUMIGRA_SCREENS_DIR=${LUMIGRA_RUN_DIR}/screens")
  endforeach()
endfunction()

# lumigra_test(NAME DIR DEPS ... [PCH HEADER...] [WINPCH HEADER...])
# One test program per layer; portable tests in DIR, Winelib-only ones in DIR/win.
# Every unit gets GoogleTest precompiled, with PCH's headers; WINPCH: a
# program of win/ units only has these headers (which need Windows)
# precompiled instead.
function(lumigra_test name dir)
  cmake_parse_arguments(T "" "NATIVE_SHARDS" "DEPS;PCH;WINPCH" ${ARGN})
  lumigra_collect_sources(srcs ${dir})
  if(NOT srcs)
    return()
  endif()
  add_executable(${name} ${srcs} ${LUMIGRA_ROOT}/tests/common/main.cpp)
  target_include_directories(${name} PRIVATE ${LUMIGRA_ROOT} ${LUMIGRA_ROOT}/tests)
  target_compile_options(${name} PRIVATE ${LUMIGRA_WARNINGS})
  target_link_libraries(${name} PRIVATE ${T_DEPS} ${LUMIGRA_GTEST_LIB} pthread)
  if(TARGET lumigra_test_support)
    target_link_libraries(${name} PRIVATE lumigra_test_support)
  endif()
  if(T_WINPCH AND NOT LUMIGRA_NATIVE)
    lumigra_pch(${name} WINDOWS tests/common/gtest.h ${T_WINPCH})
  else()
    lumigra_pch(${name} tests/common/gtest.h ${T_PCH})
  endif()
  if(LUMIGRA_NATIVE)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "ASAN_OPTIONS=detect_leaks=1;UBSAN_OPTIONS=print_stacktrace=1")
    # Listed for the Winelib build's ctest (lumigra_write_native_test_list),
    # with the number of shards it runs in there (NATIVE_SHARDS, default 1).
    if(NOT T_NATIVE_SHARDS)
      set(T_NATIVE_SHARDS 1)
    endif()
    set_property(GLOBAL APPEND PROPERTY LUMIGRA_NATIVE_TEST_PROGRAMS ${name}:${T_NATIVE_SHARDS})
  else()
    target_link_options(${name} PRIVATE -mconsole)
    add_test(NAME ${name} COMMAND bash ${LUMIGRA_ROOT}/scripts/wine.sh $<TARGET_FILE:${name}>)
    lumigra_wine_test(${name})
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT 900)
endfunction()

# Writes the native build's test programs to tests/native_tests.list, one
# "name:shards" a line, for the Winelib build's ctest to run beside its own
# (called once, after every folder has declared its tests).
function(lumigra_write_native_test_list)
  if(LUMIGRA_NATIVE)
    get_property(names GLOBAL PROPERTY LUMIGRA_NATIVE_TEST_PROGRAMS)
    list(JOIN names "\n" text)
    # Rewritten only when it changes, so the Winelib tree reconfigures only then.
    file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/tests/native_tests.list CONTENT "${text}\n" @ONLY)
  endif()
endfunction()
