# SPDX-License-Identifier: MIT
# Reads the release history from CHANGELOG.md, the one place it is written,
# for the AppStream metadata and the manual page. The file's form:
#   ## 1.2.0 - 2027-03-01        a release, newest first
#   - One change players notice, continued on lines
#     indented by two spaces.
# Anything else inside a release is an error, so that a typo cannot drop a
# line from the metadata unnoticed.

function(_quandrite_xml_text text out)
  string(REPLACE "&" "&amp;" text "${text}")
  string(REPLACE "<" "&lt;" text "${text}")
  string(REPLACE ">" "&gt;" text "${text}")
  string(REPLACE "`" "" text "${text}")
  string(REPLACE "QUANDRITE_SEMICOLON" ";" text "${text}")
  string(REPLACE "QUANDRITE_OPEN_BRACKET" "[" text "${text}")
  string(REPLACE "QUANDRITE_CLOSE_BRACKET" "]" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

# Sets QUANDRITE_RELEASES_XML (the <release> elements), and the newest
# release's QUANDRITE_RELEASE_VERSION and QUANDRITE_RELEASE_DATE.
function(quandrite_read_changelog changelog)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${changelog})
  file(READ ${changelog} content)
  # Semicolons and brackets would split or glue CMake list items.
  string(REPLACE ";" "QUANDRITE_SEMICOLON" content "${content}")
  string(REPLACE "[" "QUANDRITE_OPEN_BRACKET" content "${content}")
  string(REPLACE "]" "QUANDRITE_CLOSE_BRACKET" content "${content}")
  string(REPLACE "\n" ";" lines "${content}")

  set(xml "")
  set(item "")
  set(in_release FALSE)
  set(newest_version "")
  set(newest_date "")
  set(number 0)
  # One more empty line closes the last item and release.
  foreach(line IN LISTS lines ITEMS "" "## end")
    math(EXPR number "${number} + 1")
    if(line MATCHES "^- (.+)$" AND in_release)
      set(start_item "${CMAKE_MATCH_1}")
    elseif(line MATCHES "^  +([^ ].*)$" AND NOT item STREQUAL "")
      string(APPEND item " ${CMAKE_MATCH_1}")
      continue()
    else()
      set(start_item "")
    endif()
    if(NOT item STREQUAL "")
      _quandrite_xml_text("${item}" text)
      string(APPEND xml "          <li>${text}</li>\n")
      set(item "")
    endif()
    if(NOT start_item STREQUAL "")
      set(item "${start_item}")
    elseif(line MATCHES "^## ")
      if(in_release)
        string(APPEND xml "        </ul>\n      </description>\n    </release>\n")
      endif()
      if(line STREQUAL "## end")
        break()
      endif()
      if(NOT line MATCHES "^## ([0-9]+\\.[0-9]+\\.[0-9]+) - ([0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9])$")
        message(FATAL_ERROR "${changelog}:${number}: a release heading is \"## VERSION - YYYY-MM-DD\"")
      endif()
      if(newest_version STREQUAL "")
        set(newest_version ${CMAKE_MATCH_1})
        set(newest_date ${CMAKE_MATCH_2})
      endif()
      string(APPEND xml "    <release version=\"${CMAKE_MATCH_1}\" date=\"${CMAKE_MATCH_2}\">\n"
                        "      <description>\n        <ul>\n")
      set(in_release TRUE)
    elseif(in_release AND NOT line STREQUAL "")
      message(FATAL_ERROR "${changelog}:${number}: inside a release only \"- \" lines and their indented continuations belong")
    endif()
  endforeach()
  if(newest_version STREQUAL "")
    message(FATAL_ERROR "${changelog}: no release")
  endif()
  set(QUANDRITE_RELEASES_XML "${xml}" PARENT_SCOPE)
  set(QUANDRITE_RELEASE_VERSION ${newest_version} PARENT_SCOPE)
  set(QUANDRITE_RELEASE_DATE ${newest_date} PARENT_SCOPE)
endfunction()
