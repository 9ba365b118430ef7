# Writes the package's changelog.gz in Debian's changelog format from CHANGELOG.md: one entry per
# "## VERSION — YYYY-MM-DD" heading, its "- " items as the entry's lines, wrapped at 78 columns;
# compressed with gzip -9n as Debian's tools expect. The package is versioned as upstream builds
# it (no Debian revision), so this one file is both the upstream and the Debian changelog.
#
#   cmake -DSOURCE=CHANGELOG.md -DOUTPUT=<dir>/changelog -DPACKAGE=vantora
#         "-DMAINTAINER=Name <mail>" -P cmake/DebianChangelog.cmake      → <dir>/changelog.gz
cmake_minimum_required(VERSION 3.25)

# Semicolons would split CMake lists: they travel as @SEMICOLON@ until written.
file(READ ${SOURCE} text)
string(REPLACE ";" "@SEMICOLON@" text "${text}")
string(REPLACE "\n" ";" lines "${text}")
set(entries "")
set(version "")

# Appends the entry of the release being read (version, date, items) to `entries`.
macro(close_entry)
  if(version)
    execute_process(COMMAND date -u -R -d "${date} 00:00:00 UTC" OUTPUT_VARIABLE stamp
                    OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    string(APPEND entries "${PACKAGE} (${version}) unstable; urgency=medium\n\n"
           "${items}\n -- ${MAINTAINER}  ${stamp}\n\n")
  endif()
endmacro()

# Appends `text` to `items` as one "  * " item, wrapped at 78 columns with 4-space continuations.
function(add_item text)
  string(REGEX REPLACE "[ \t]+" ";" words "${text}")
  set(line "  *")
  set(out "")
  foreach(word IN LISTS words)
    string(REPLACE "@SEMICOLON@" ";" probe "${line} ${word}")
    string(LENGTH "${probe}" length)
    if(length GREATER 78 AND NOT line STREQUAL "    ")
      string(APPEND out "${line}\n")
      set(line "   ")
    endif()
    string(APPEND line " ${word}")
  endforeach()
  set(items "${items}${out}${line}\n" PARENT_SCOPE)
endfunction()

set(item "")
foreach(line IN LISTS lines)
  if(line MATCHES "^## ([0-9][0-9.]*) — ([0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9])$")
    if(item)
      add_item("${item}")
      set(item "")
    endif()
    close_entry()
    set(version ${CMAKE_MATCH_1})
    set(date ${CMAKE_MATCH_2})
    set(items "")
  elseif(version AND line MATCHES "^- (.*)$")
    if(item)
      add_item("${item}")
    endif()
    set(item "${CMAKE_MATCH_1}")
  elseif(version AND item AND line MATCHES "^  +(.*)$")
    string(APPEND item " ${CMAKE_MATCH_1}")
  endif()
endforeach()
if(item)
  add_item("${item}")
endif()
close_entry()
if(NOT entries)
  message(FATAL_ERROR "${SOURCE}: no \"## VERSION — YYYY-MM-DD\" heading")
endif()

string(STRIP "${entries}" entries)
string(REPLACE "@SEMICOLON@" ";" entries "${entries}")
file(WRITE ${OUTPUT} "${entries}\n")
execute_process(COMMAND gzip -9nf ${OUTPUT} COMMAND_ERROR_IS_FATAL ANY)
