# SPDX-License-Identifier: MIT
# The layers' include roots. Each library of the program compiles against a
# folder of the build tree that holds links to the headers it may use and to
# nothing else, so an include that crosses a layer's line does not compile:
# the rules cannot reach the layer's insides or the operating system's code,
# and nothing below the game can reach the game. scripts/check-layers names
# such an include before the compiler does.
#
# quandrite_include_root(TARGET PATH...): PATH is a folder or file of the
# source tree ("core", "game/rules"), or a pattern of files ("media/*.h",
# the layer's public headers without its inside folders).
function(quandrite_include_root target)
  set(root ${PROJECT_BINARY_DIR}/include-roots/${target})
  file(REMOVE_RECURSE ${root})
  foreach(path IN LISTS ARGN)
    if(path MATCHES "[*]")
      file(GLOB matches CONFIGURE_DEPENDS RELATIVE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/${path})
    else()
      set(matches ${path})
    endif()
    foreach(match IN LISTS matches)
      get_filename_component(parent ${root}/${match} DIRECTORY)
      file(MAKE_DIRECTORY ${parent})
      file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${match} ${root}/${match} SYMBOLIC)
    endforeach()
  endforeach()
  # The version header is generated for every part of the game.
  target_include_directories(${target} PRIVATE ${root} ${PROJECT_BINARY_DIR}/generated)
endfunction()
