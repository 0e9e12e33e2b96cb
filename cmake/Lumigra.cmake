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
  if(LUMIGRA_SANITIZE)
    set(LUMIGRA_SAN_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  endif()
  add_compile_options(${LUMIGRA_SAN_FLAGS})
  add_link_options(${LUMIGRA_SAN_FLAGS})
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

# lumigra_layer(NAME DIR [DEPS ...] [WINLIBS ...] [NATIVELIBS ...])
# One static library per layer folder. A layer without sources yet is an
# INTERFACE library so dependants link to it all the same.
function(lumigra_layer name dir)
  cmake_parse_arguments(L "" "" "DEPS;WINLIBS;NATIVELIBS;LIBS" ${ARGN})
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
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${LUMIGRA_ROOT})
    target_link_libraries(${name} INTERFACE ${L_DEPS})
  endif()
endfunction()

# GoogleTest: the installed static libraries, linked by path (find_package does
# not find them under wineg++).
find_library(LUMIGRA_GTEST_LIB NAMES libgtest.a gtest PATHS /usr/lib/x86_64-linux-gnu /usr/lib REQUIRED)

# lumigra_test(NAME DIR DEPS ...)
# One test program per layer; portable tests in DIR, Winelib-only ones in DIR/win.
function(lumigra_test name dir)
  cmake_parse_arguments(T "" "" "DEPS" ${ARGN})
  lumigra_collect_sources(srcs ${dir})
  if(NOT srcs)
    return()
  endif()
  add_executable(${name} ${srcs} ${LUMIGRA_ROOT}/tests/common/main.cpp)
  target_include_directories(${name} PRIVATE ${LUMIGRA_ROOT} ${LUMIGRA_ROOT}/tests)
  target_compile_options(${name} PRIVATE ${LUMIGRA_WARNINGS})
  target_link_libraries(${name} PRIVATE ${T_DEPS} ${LUMIGRA_GTEST_LIB} pthread)
  if(LUMIGRA_NATIVE)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "ASAN_OPTIONS=detect_leaks=1;UBSAN_OPTIONS=print_stacktrace=1")
  else()
    target_link_options(${name} PRIVATE -mconsole)
    add_test(NAME ${name} COMMAND bash ${LUMIGRA_ROOT}/scripts/wine.sh $<TARGET_FILE:${name}>)
    # The Wine test programs share one X display and one wineserver: the
    # cursor position, the focus and what a screen capture sees are global,
    # so they run one at a time (the native ones run beside them).
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK lumigra_display)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT 900)
endfunction()
