# Runs PROGRAM (the vantora window program) once per case with no display in the environment and
# checks the exit status, standard output and standard error of each.
#   cmake -DPROGRAM=build/bin/vantora -DVERSION=2.5.34 -P tests/app/command_line.cmake
cmake_minimum_required(VERSION 3.25)
string(REPLACE "." "\\." version_re "${VERSION}")

# Each case: name | arguments (,-separated) | exit status | regex of stdout | regex of stderr | stdout file
set(cases
    "version|--version|0|^vantora ${version_re}\n$|^$|"
    "short version|-v|0|^vantora ${version_re}\n$|^$|"
    "help in Japanese|--help|0|使い方: .*vantora \\[オプション\\].*-h, --help .*-v, --version .*を表示して終わります.*--book <PATH> +名簿に使う|^$|"
    "book without its path|-platform,offscreen,--book|2|^$|--book|"
    "help on a full disk|--help|1|^$|標準出力に書き込めませんでした|/dev/full"
    "value given to a flag|--version=3|2|^$|^vantora: --version は値をとりません（--help で使い方を表示します）\n$|"
    "unknown option beside a Qt option|-platform,offscreen,--frob|2|^$|不明なオプションです: frob|"
    "extra argument|-platform,offscreen,extra|2|^$|余分な引数です: extra|")

set(failures 0)
foreach(case IN LISTS cases)
  string(REPLACE "|" ";" fields "${case}")
  list(GET fields 0 name)
  list(GET fields 1 args)
  string(REPLACE "," ";" args "${args}")
  list(GET fields 2 want_status)
  list(GET fields 3 want_out)
  list(GET fields 4 want_err)
  list(GET fields 5 out_file)
  if(out_file)
    execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY
                            --unset=QT_QPA_PLATFORM ${PROGRAM} ${args}
                    TIMEOUT 20 RESULT_VARIABLE status OUTPUT_FILE ${out_file} ERROR_VARIABLE err)
    set(out "")
  else()
    execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY
                            --unset=QT_QPA_PLATFORM ${PROGRAM} ${args}
                    TIMEOUT 20 RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  endif()
  # Qt's note about a missing XDG_RUNTIME_DIR is the environment's, not the program's.
  string(REGEX REPLACE "QStandardPaths: [^\n]*\n" "" err "${err}")
  if(NOT status STREQUAL want_status OR NOT out MATCHES "${want_out}" OR NOT err MATCHES "${want_err}")
    message(SEND_ERROR "${name}: vantora ${args}\n  status ${status} (want ${want_status})\n"
                       "  stdout: ${out}\n  stderr: ${err}")
    math(EXPR failures "${failures} + 1")
  endif()
endforeach()
if(failures)
  message(FATAL_ERROR "${failures} case(s) failed")
endif()
