# SPDX-License-Identifier: MIT
# Makes a demo from its script, replays it headless as a time demo and
# compares the game's summary line with the expected one.
#   cmake -DDEMOTOOL=... -DGAME=... -DSCRIPT=x.script -DEXPECTED=x.expected -DWORK=dir
#         [-DEMULATOR=qemu-aarch64] [-DUPDATE=ON] -P run_demo.cmake
# EMULATOR runs a cross-built game (qemu-user); demotool is the build
# machine's, since a demo file is the same on every platform.
# With UPDATE=ON the expected file is rewritten from this run instead
# (for a deliberate change of the game's rules; the diff then shows it).
foreach(var DEMOTOOL GAME SCRIPT EXPECTED WORK)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "run_demo.cmake needs -D${var}=...")
  endif()
endforeach()

get_filename_component(name "${SCRIPT}" NAME_WE)
file(MAKE_DIRECTORY "${WORK}")
set(demo "${WORK}/${name}.demo")

# Folders of this run's own: nothing of the player's settings or table.
set(home "${WORK}/${name}-home")
file(REMOVE_RECURSE "${home}")
file(MAKE_DIRECTORY "${home}/config" "${home}/data")
set(ENV{XDG_CONFIG_HOME} "${home}/config")
set(ENV{XDG_DATA_HOME} "${home}/data")

execute_process(COMMAND "${DEMOTOOL}" make "${SCRIPT}" "${demo}"
  RESULT_VARIABLE made ERROR_VARIABLE made_error TIMEOUT 120)
if(NOT made EQUAL 0)
  message(FATAL_ERROR "demotool could not make ${demo}:\n${made_error}")
endif()

set(ENV{SDL_VIDEODRIVER} offscreen)
set(ENV{SDL_AUDIODRIVER} dummy)
execute_process(COMMAND ${EMULATOR} "${GAME}" --timedemo "${demo}" --headless
  RESULT_VARIABLE played OUTPUT_VARIABLE output ERROR_VARIABLE played_error TIMEOUT 600)
if(NOT played EQUAL 0)
  message(FATAL_ERROR "the game ended with ${played} replaying ${demo}:\n${output}${played_error}")
endif()

string(REGEX MATCH "(^|\n)(frames [0-9]+ level [0-9]+ lives [0-9]+ score [0-9]+ hash [0-9a-f]+)" found "${output}")
if(NOT found)
  message(FATAL_ERROR "no summary line in the output of ${demo}:\n${output}${played_error}")
endif()
set(actual "${CMAKE_MATCH_2}")
string(REGEX MATCH "timedemo: [^\n]*" timing "${output}")
message(STATUS "${name}: ${actual}")
message(STATUS "${name}: ${timing}")

if(UPDATE)
  file(WRITE "${EXPECTED}" "${actual}\n")
  message(STATUS "wrote ${EXPECTED}")
  return()
endif()
if(NOT EXISTS "${EXPECTED}")
  message(FATAL_ERROR "${EXPECTED} is missing; this run gave:\n  ${actual}")
endif()
file(READ "${EXPECTED}" expected)
string(STRIP "${expected}" expected)
if(NOT actual STREQUAL expected)
  message(FATAL_ERROR "demo ${name} took another course:\n  expected: ${expected}\n  actual:   ${actual}")
endif()
