# SPDX-License-Identifier: MIT
# Reads the screenshots for the AppStream metadata from the table in
# docs/screens.md, whose rows are "| caption | [file.png](file.png) |"; the
# first row is the default screenshot. Each image is given by its address
# under the project's home page.

# Sets QUANDRITE_SCREENSHOTS_XML to the <screenshot> elements.
function(quandrite_read_screenshots screens base_url)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${screens})
  file(READ ${screens} content)
  # Semicolons and brackets would split or glue CMake list items.
  string(REPLACE ";" "," content "${content}")
  string(REPLACE "[" "QUANDRITE_OPEN_BRACKET" content "${content}")
  string(REPLACE "]" "QUANDRITE_CLOSE_BRACKET" content "${content}")
  string(REPLACE "\n" ";" lines "${content}")
  set(xml "")
  set(type default)
  foreach(line IN LISTS lines)
    if(NOT line MATCHES "^\\| (.+) \\| QUANDRITE_OPEN_BRACKET[^|]*QUANDRITE_CLOSE_BRACKET\\(([^)|]+\\.png)\\) \\|$")
      continue()
    endif()
    set(caption "${CMAKE_MATCH_1}")
    set(file "${CMAKE_MATCH_2}")
    string(REPLACE "&" "&amp;" caption "${caption}")
    string(REPLACE "<" "&lt;" caption "${caption}")
    string(REPLACE ">" "&gt;" caption "${caption}")
    string(APPEND xml "    <screenshot type=\"${type}\">\n"
                      "      <caption>${caption}</caption>\n"
                      "      <image>${base_url}/${file}</image>\n"
                      "    </screenshot>\n")
    set(type extra)
  endforeach()
  if(xml STREQUAL "")
    message(FATAL_ERROR "${screens}: no row \"| caption | [file.png](file.png) |\"")
  endif()
  set(QUANDRITE_SCREENSHOTS_XML "${xml}" PARENT_SCOPE)
endfunction()
