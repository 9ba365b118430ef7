# Feeds the golden births, a line naming a place and a bad line to LINE_CHART and to CHART --batch
# and requires the same bytes from both.
cmake_minimum_required(VERSION 3.25)
file(STRINGS ${GOLDEN} rows ENCODING UTF-8)
set(lines "")
foreach(row IN LISTS rows)
  string(JSON input GET "${row}" input)
  string(REPLACE "\n" "" input "${input}") # CMake writes the object over several lines
  string(APPEND lines "${input}\n")
endforeach()
string(APPEND lines [[{"year":2000,"month":1,"day":1,"hour":12,"minute":0,"sex":"female","place":"綾部市本町一丁目","now":"2026-12-08T10:00:00"}]] "\n")
string(APPEND lines [[{"year":"abc","month":1}]] "\n")
file(WRITE ${WORK}/births.jsonl "${lines}")
foreach(program IN ITEMS LINE_CHART CHART)
  set(arguments)
  if(program STREQUAL "CHART")
    set(arguments --batch --jobs 1)
  endif()
  execute_process(COMMAND ${${program}} ${arguments} INPUT_FILE ${WORK}/births.jsonl
                  OUTPUT_FILE ${WORK}/${program}.jsonl RESULT_VARIABLE status)
  if(status GREATER 1)
    message(FATAL_ERROR "${${program}} ended with ${status}")
  endif()
endforeach()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${WORK}/LINE_CHART.jsonl ${WORK}/CHART.jsonl
                RESULT_VARIABLE differ)
if(differ)
  message(FATAL_ERROR "the request layer alone answers otherwise than vantora-chart --batch")
endif()
