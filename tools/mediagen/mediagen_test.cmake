# Runs mediagen on fixtures: cmake -DMEDIAGEN=... -DWORK=... -DFIXTURES=... -P mediagen_test.cmake
# 1. a good pack and good cursors are made, byte for byte the same twice;
# 2. each faulty source is refused with exit status 1, one message naming the
#    file (and the line where there is one), and nothing written.
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")

# --- good sources ----------------------------------------------------------------
foreach(run a b)
  execute_process(COMMAND "${MEDIAGEN}" media "${WORK}/good-${run}" "${FIXTURES}/good_shadow.txt"
    RESULT_VARIABLE rc ERROR_VARIABLE err)
  if(NOT rc EQUAL 0 OR NOT EXISTS "${WORK}/good-${run}/Shadow.dat")
    message(FATAL_ERROR "the good pack is refused: exit ${rc}: ${err}")
  endif()
  execute_process(COMMAND "${MEDIAGEN}" cursors "${WORK}/cursors-${run}" "${FIXTURES}/cursors_good.txt"
    RESULT_VARIABLE rc ERROR_VARIABLE err)
  if(NOT rc EQUAL 0 OR NOT EXISTS "${WORK}/cursors-${run}/Cursor_A_P.cur")
    message(FATAL_ERROR "the good cursors are refused: exit ${rc}: ${err}")
  endif()
endforeach()
foreach(f good-a/Shadow.dat cursors-a/Cursor_A.cur cursors-a/Cursor_A_P.cur cursors-a/Cursors.rc)
  string(REPLACE "-a/" "-b/" g "${f}")
  file(SHA256 "${WORK}/${f}" h1)
  file(SHA256 "${WORK}/${g}" h2)
  if(NOT h1 STREQUAL h2)
    message(SEND_ERROR "${f} differs from one run to the next")
  endif()
endforeach()
file(READ "${WORK}/cursors-a/Cursors.rc" rc_text)
if(NOT rc_text MATCHES "Cursor_A CURSOR \"Cursor_A.cur\"\nCursor_A_P CURSOR \"Cursor_A_P.cur\"\n")
  message(SEND_ERROR "Cursors.rc: [${rc_text}]")
endif()
# The badge changes the picture but not the hot spot (bytes 10..13 of the file).
file(READ "${WORK}/cursors-a/Cursor_A.cur" c1 HEX)
file(READ "${WORK}/cursors-a/Cursor_A_P.cur" c2 HEX)
string(SUBSTRING "${c1}" 20 8 hot1)
string(SUBSTRING "${c2}" 20 8 hot2)
if(NOT hot1 STREQUAL "01000100" OR NOT hot2 STREQUAL hot1 OR c1 STREQUAL c2)
  message(SEND_ERROR "cursor hot spots ${hot1} ${hot2}")
endif()

# --- refusals: NAME | mode | fixture | expected message --------------------------
set(cases
  "a shadow pack of 9 rows|media|shadow_nine_rows.txt|shadow_nine_rows.txt:2: this pack has exactly 8 rows"
  "a name with a comma|media|name_comma.txt|name_comma.txt:9: \"Two, three\" holds \",\""
  "a name with a bar|media|name_bar.txt|name_bar.txt:9: \"Two.three\" holds \".\""
  "a name with a hash|media|name_hash.txt|name_hash.txt:9: .* holds \"#\""
  "a GBK trail byte 0x7C|media|name_gbk_bar.txt|name_gbk_bar.txt:9: .*second byte in code page 936 is 0x7C"
  "a missing required cell|media|brush_missing_cell.txt|brush_missing_cell.txt:7: cell 9 is missing"
  "a frame mode twice|media|frame_mode_twice.txt|frame_mode_twice.txt:36: cell 5 value 3 already used on line 8"
  "a frame mode missing|media|frame_mode_missing.txt|frame_mode_missing.txt:1: no row of frame mode 10"
  "an unknown recipe|media|unknown_recipe.txt|unknown_recipe.txt:5: unknown recipe \"sparkles\""
  "a tile too large|media|tile_too_large.txt|tile_too_large.txt:5: a picture of 200 x 200 here must be square"
  "a length cell given|media|length_cell_given.txt|length_cell_given.txt:5: cell 15 holds the picture's length"
  "a cursor without a hot spot|cursors|cursors_no_hotspot.txt|cur_no_hotspot.txt: the cursor has no hot spot"
  "a cursor of 31 lines|cursors|cursors_short.txt|cur_31_lines.txt:4: the grid has 31 lines"
  "a cursor of 33 columns|cursors|cursors_wide.txt|cur_33_columns.txt:5: a grid line of 33 characters"
  "a cursor listed twice|cursors|cursors_twice.txt|cursors_twice.txt:2: cursor \"Cursor_A\" listed twice"
  "a missing manifest|media|no_such_file.txt|no_such_file.txt: cannot read the file")
foreach(case IN LISTS cases)
  string(REPLACE "|" ";" parts "${case}")
  list(GET parts 0 name)
  list(GET parts 1 mode)
  list(GET parts 2 fixture)
  list(GET parts 3 expected)
  set(out "${WORK}/refused")
  file(REMOVE_RECURSE "${out}")
  execute_process(COMMAND "${MEDIAGEN}" ${mode} "${out}" "${FIXTURES}/${fixture}"
    RESULT_VARIABLE rc OUTPUT_VARIABLE stdout ERROR_VARIABLE err)
  string(REPLACE ";" "," err_plain "${err}")
  string(REGEX MATCHALL "mediagen: [^\n]*\n" lines "${err_plain}")
  list(LENGTH lines nlines)
  if(NOT rc EQUAL 1 OR NOT err MATCHES "mediagen: [^\n]*${expected}" OR NOT nlines EQUAL 1 OR EXISTS "${out}")
    message(SEND_ERROR "${name}: exit ${rc}, stderr [${err}], expected one message [${expected}]")
  endif()
endforeach()

# --- command line ----------------------------------------------------------------
execute_process(COMMAND "${MEDIAGEN}" media "${WORK}/x" RESULT_VARIABLE rc ERROR_QUIET)
if(NOT rc EQUAL 2)
  message(SEND_ERROR "usage: exit ${rc}")
endif()
