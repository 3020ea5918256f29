# SPDX-License-Identifier: MIT
# The screenshots tool reaches the screens the docs show: for each mode it
# must write a PNG picture of the game's 1020 x 607 screen.
# Folders of this run's own: nothing of the player's settings or table.
set(home ${WORK}/screenshots-home)
file(REMOVE_RECURSE ${home})
file(MAKE_DIRECTORY ${home}/config ${home}/data)
set(ENV{XDG_CONFIG_HOME} ${home}/config)
set(ENV{XDG_DATA_HOME} ${home}/data)
foreach(mode "title;5" "level;17;5" "won;5" "waiting;1;5" "paused;3;20" "replay;3;5")
  list(GET mode 0 name)
  set(out ${WORK}/screenshot-${name}.png)
  file(REMOVE ${out})
  execute_process(COMMAND ${TOOL} ${mode} ${out} RESULT_VARIABLE rc TIMEOUT 120)
  if(NOT rc EQUAL 0 OR NOT EXISTS ${out})
    message(FATAL_ERROR "screenshots ${mode}: exit ${rc}, no picture")
  endif()
  # PNG signature, then the IHDR chunk with width and height.
  file(READ ${out} head LIMIT 24 HEX)
  if(NOT head MATCHES "^89504e470d0a1a0a0000000d49484452000003fc0000025f$")
    message(FATAL_ERROR "screenshots ${mode}: not a 1020 x 607 PNG (${head})")
  endif()
endforeach()
