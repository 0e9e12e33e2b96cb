# Runs langgen on fixtures: cmake -DLANGGEN=... -DWORK=... -DFIXTURES=... -P langgen_test.cmake
# 1. the fixture groups build a table whose dump gives back every text
#    ("," "|" line breaks, TABs, backslashes and CRs included);
# 2. each faulty source is refused with exit status 1, one message naming the
#    file (and the line where there is one), and no table written.
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
set(min --min 1,1,1,1,1,1,1,1)

set(groups)
foreach(g RANGE 0 7)
  list(APPEND groups "${FIXTURES}/group${g}.txt")
endforeach()

# --- round trip --------------------------------------------------------------
execute_process(COMMAND "${LANGGEN}" ${min} "${WORK}/good.bin" ${groups}
  RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 0 OR NOT EXISTS "${WORK}/good.bin")
  message(FATAL_ERROR "fixture build failed: exit ${rc}: ${err}")
endif()
execute_process(COMMAND "${LANGGEN}" --dump "${WORK}/good.bin"
  RESULT_VARIABLE rc OUTPUT_FILE "${WORK}/dump.txt" ERROR_VARIABLE err)
file(READ "${WORK}/dump.txt" got HEX)
file(READ "${FIXTURES}/expected_dump.txt" want HEX)
if(NOT rc EQUAL 0 OR NOT got STREQUAL want)
  message(SEND_ERROR "dump differs from the fixture texts (exit ${rc}, ${err}); see ${WORK}/dump.txt")
endif()
# The table is enciphered: no text of the sources shows in its bytes.
file(READ "${WORK}/good.bin" bin HEX)
file(WRITE "${WORK}/probe.txt" "Corvane Lumigra Basic")
file(READ "${WORK}/probe.txt" probe HEX)
string(FIND "${bin}" "${probe}" at)
if(NOT at EQUAL -1)
  message(SEND_ERROR "the table holds the title as plain text")
endif()

# The real minimums refuse the small fixtures.
execute_process(COMMAND "${LANGGEN}" "${WORK}/min.bin" ${groups} RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 1 OR NOT err MATCHES "group0.txt: group 0 has 3 rows; at least 198")
  message(SEND_ERROR "default minimums: exit ${rc}, stderr [${err}]")
endif()

# --- refusals: NAME, group-1 file content (printf format), expected stderr ----
set(cases
  "gap|0\\ta\\tA\\tp\\n2\\tc\\tC\\tp\\n|group1.txt:2: gap: index 2 follows 0"
  "duplicate|0\\ta\\tA\\tp\\n1\\tb\\tB\\tp\\n1\\tc\\tC\\tp\\n|group1.txt:3: index 1 is a duplicate"
  "empty Chinese|0\\t\\tA\\tp\\n|group1.txt:1: the Chinese text of index 0 is empty"
  "empty English|0\\ta\\t \\tp\\n|group1.txt:1: the English text of index 0 is empty"
  "unknown escape|0\\ta\\\\q\\tA\\tp\\n|group1.txt:1: bad escape in the Chinese text: the unknown escape"
  "trailing backslash|0\\ta\\tA\\\\\\tp\\n|group1.txt:1: bad escape in the English text: a backslash at the end"
  "three fields|0\\ta\\tA\\n1\\tb\\tB\\tp\\n|group1.txt:1: expected 4 TAB-separated fields .* found 3"
  "raw TAB in a text|0\\ta\\tA\\tB\\tp\\n|group1.txt:1: expected 4 TAB-separated fields .* found 5"
  "index not a number|x\\ta\\tA\\tp\\n|group1.txt:1: the index \"x\" is not a decimal number"
  "empty purpose|0\\ta\\tA\\t\\n|group1.txt:1: the purpose of index 0 is empty"
  "raw control character|0\\ta\\001b\\tA\\tp\\n|group1.txt:1: bad escape in the Chinese text: a raw control character"
  "invalid UTF-8|0\\ta\\377\\tA\\tp\\n|group1.txt:1: not valid UTF-8"
  "byte-order mark|\\357\\273\\2770\\ta\\tA\\tp\\n|group1.txt:1: the file starts with a byte-order mark"
  "no rows|# only a comment\\n|group1.txt: group 1 has 0 rows. at least 1"
  "missing file|MISSING|group1.txt: cannot read the file")
foreach(case IN LISTS cases)
  string(REPLACE "|" ";" parts "${case}")
  list(GET parts 0 name)
  list(GET parts 1 content)
  list(GET parts 2 expected)
  set(dir "${WORK}/case")
  file(REMOVE_RECURSE "${dir}")
  file(MAKE_DIRECTORY "${dir}")
  set(files)
  foreach(g RANGE 0 7)
    if(g EQUAL 1)
      if(NOT content STREQUAL "MISSING")
        execute_process(COMMAND printf "${content}" OUTPUT_FILE "${dir}/group1.txt")
      endif()
    else()
      configure_file("${FIXTURES}/group${g}.txt" "${dir}/group${g}.txt" COPYONLY)
    endif()
    list(APPEND files "${dir}/group${g}.txt")
  endforeach()
  # A table from an earlier run must not survive a refused build.
  file(COPY_FILE "${WORK}/good.bin" "${dir}/out.bin")
  execute_process(COMMAND "${LANGGEN}" ${min} "${dir}/out.bin" ${files}
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  # Each case holds one fault: one message, not a cascade.
  string(REPLACE ";" "," err_plain "${err}")  # a ";" would split the list below
  string(REGEX MATCHALL "langgen: [^\n]*\n" lines "${err_plain}")
  list(LENGTH lines nlines)
  if(NOT rc EQUAL 1 OR NOT err MATCHES "langgen: [^\n]*${expected}" OR NOT nlines EQUAL 1 OR EXISTS "${dir}/out.bin")
    message(SEND_ERROR "${name}: exit ${rc}, stderr [${err}], expected one message [${expected}]")
  endif()
endforeach()

# --- the call check ------------------------------------------------------------
set(src "${WORK}/src")
file(MAKE_DIRECTORY "${src}/sub")
file(WRITE "${src}/a.cpp" "void f() { String s; GetLangText(0, 2, false, s);\n  GetLangText(1,\n    4, true, s); }\n")
file(WRITE "${src}/sub/b.h" "inline void g(String& s) { GetLangText(7, 1, false, s); }\n")
execute_process(COMMAND "${LANGGEN}" --check-calls "${WORK}/good.bin" "${src}"
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0 OR NOT out MATCHES "3 calls, 3 distinct pairs")
  message(SEND_ERROR "call check of present pairs: exit ${rc}, [${out}] [${err}]")
endif()
file(WRITE "${src}/c.cpp" "void h(String& s) {\n  GetLangText(2, 1, false, s);\n  GetLangText(9, 0, false, s);\n}\n")
execute_process(COMMAND "${LANGGEN}" --check-calls "${WORK}/good.bin" "${src}"
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 1 OR NOT err MATCHES "c.cpp:2: GetLangText\\(2, 1\\) is not in the table"
   OR NOT err MATCHES "c.cpp:3: GetLangText\\(9, 0\\) is not in the table")
  message(SEND_ERROR "call check of missing pairs: exit ${rc}, [${out}] [${err}]")
endif()

# A call that appends ":" to a text that has one already.
set(src2 "${WORK}/src2")
file(MAKE_DIRECTORY "${src2}")
file(WRITE "${src2}/d.cpp" "void k(String& s) {\n  GetLangText(4, 1, false, s);\n  GetLangText(4, 0, true, s);\n  GetLangText(4, 1, true, s);\n}\n")
execute_process(COMMAND "${LANGGEN}" --check-calls "${WORK}/good.bin" "${src2}"
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
string(REPLACE ";" "," err_plain "${err}")
string(REGEX MATCHALL "langgen: [^\n]*\n" lines "${err_plain}")
list(LENGTH lines nlines)
if(NOT rc EQUAL 1 OR NOT nlines EQUAL 1 OR NOT err MATCHES "d.cpp:4: GetLangText\\(4, 1, true\\) appends")
  message(SEND_ERROR "colon check: exit ${rc}, [${out}] [${err}]")
endif()

# --- command line ----------------------------------------------------------------
execute_process(COMMAND "${LANGGEN}" "${WORK}/x.bin" RESULT_VARIABLE rc ERROR_QUIET)
if(NOT rc EQUAL 2)
  message(SEND_ERROR "usage: exit ${rc}")
endif()
