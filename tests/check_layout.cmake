cmake_minimum_required(VERSION 3.25)
# Checks that includes point down the layers:
#   app -> report -> programs and clientbook -> shell -> widgets -> platform
#   -> clients, and every layer over the core (common, richtext, each
#   program's logic).
# The shell and the shared layers (the client book's core too) never include
# a program, programs never include each other, and only src/app names every
# program.
# The client book window (src/clientbook) stands beside the programs: it uses
# the shell and what lies below, never a program, the report or the app, and
# only src/app opens it.
# The report uses the programs' logic, never their windows; its own logic
# (outside report/ui) has no windows either.
# The command line (src/cli) uses the core alone.
# Run: cmake -DSOURCE_DIR=<repo>/src -P check_layout.cmake
get_filename_component(SOURCE_DIR "${SOURCE_DIR}" ABSOLUTE)
set(programs numpro tarot daily astrology runes tantric)
set(shared common richtext clients platform widgets shell)

# What each shared folder may not include (besides programs and app).
set(forbidden_common clients platform widgets shell)
set(forbidden_richtext clients platform widgets shell)
set(forbidden_clients richtext platform widgets shell)
set(forbidden_platform widgets shell)
set(forbidden_widgets shell)
set(forbidden_shell)

set(violations "")
file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/*.h ${SOURCE_DIR}/*.cpp)
foreach(source IN LISTS sources)
  string(REGEX MATCH "^[^/]+" folder "${source}")
  file(STRINGS ${SOURCE_DIR}/${source} includes REGEX "^#include \"[^\"]+\"")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^#include \"([^/\"]+)/.*" "\\1" target "${line}")
    set(bad FALSE)
    if(folder IN_LIST shared)
      if(target IN_LIST programs OR target MATCHES "^(app|report|clientbook)$" OR target IN_LIST forbidden_${folder})
        set(bad TRUE)
      endif()
    elseif(folder STREQUAL "cli")
      # The command line links the core alone: no windows, no program's ui/.
      if(target MATCHES "^(platform|widgets|shell|clientbook|app)$" OR line MATCHES "\"[a-z]+/ui/")
        set(bad TRUE)
      endif()
    elseif(folder STREQUAL "report")
      if(target MATCHES "^(app|clientbook)$" OR (target IN_LIST programs AND line MATCHES "\"[a-z]+/ui/"))
        set(bad TRUE)
      endif()
      if(NOT source MATCHES "^report/ui/" AND target MATCHES "^(platform|widgets|shell)$")
        set(bad TRUE)
      endif()
    elseif(folder STREQUAL "clientbook")
      if(target IN_LIST programs OR target MATCHES "^(app|report|cli)$")
        set(bad TRUE)
      endif()
    elseif(folder IN_LIST programs)
      if((target IN_LIST programs AND NOT target STREQUAL folder) OR target MATCHES "^(app|report|clientbook)$")
        set(bad TRUE)
      endif()
      # A program's logic (everything outside ui/) is core: no windows.
      if(NOT source MATCHES "^[^/]+/ui/" AND target MATCHES "^(platform|widgets|shell)$")
        set(bad TRUE)
      endif()
    endif()
    if(bad)
      list(APPEND violations "${source}: ${line}")
    endif()
  endforeach()
endforeach()

if(violations)
  list(JOIN violations "\n  " text)
  message(FATAL_ERROR "Includes against the layers:\n  ${text}")
endif()
list(LENGTH sources count)
message(STATUS "Includes point down the layers in all ${count} source files")
