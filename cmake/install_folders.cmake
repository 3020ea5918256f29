# SPDX-License-Identifier: MIT
# The folders an install makes, for uninstalling: build/install_folders.txt
# lists those under the destinations that did not exist before any install
# into them, deepest first, so that
#   xargs -d '\n' rm -f -- < build/install_manifest.txt
#   xargs -d '\n' rmdir --ignore-fail-on-non-empty -- < build/install_folders.txt
# leaves the prefix as it found it. Called before any other install rule.
function(quandrite_record_install_folders)  # ARGN: the install destinations
  set(list_file ${CMAKE_BINARY_DIR}/install_folders.txt)
  install(CODE "set(quandrite_destinations \"${ARGN}\")\nset(quandrite_list_file \"${list_file}\")")
  install(CODE [[
    set(made "")
    # What an earlier install made and no uninstall has removed stays listed.
    if(EXISTS "${quandrite_list_file}")
      file(STRINGS "${quandrite_list_file}" earlier)
      foreach(folder IN LISTS earlier)
        if(IS_DIRECTORY "${folder}")
          list(APPEND made "${folder}")
        endif()
      endforeach()
    endif()
    foreach(destination IN LISTS quandrite_destinations)
      if(IS_ABSOLUTE "${destination}")
        set(folder "$ENV{DESTDIR}${destination}")
      else()
        set(folder "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/${destination}")
      endif()
      while(NOT EXISTS "${folder}")
        list(APPEND made "${folder}")
        get_filename_component(folder "${folder}" DIRECTORY)
      endwhile()
    endforeach()
    list(REMOVE_DUPLICATES made)
    list(SORT made ORDER DESCENDING)
    list(JOIN made "\n" text)
    file(WRITE "${quandrite_list_file}" "${text}\n")
  ]])
endfunction()
