# Renders every manual page of MAN_DIR with groff's man macros, all warnings on, for the default
# device and for the terminal device that man(1) uses; any warning or error fails the test.
# Without groff (Debian package groff-base) the test is skipped.
cmake_minimum_required(VERSION 3.25)

find_program(GROFF groff)
if(NOT GROFF)
  message("docs.man skipped: groff is missing (Debian package groff-base)")
  return()
endif()

file(GLOB pages "${MAN_DIR}/*.[1-9]")
list(LENGTH pages count)
if(count EQUAL 0)
  message(FATAL_ERROR "no manual page in ${MAN_DIR}")
endif()

set(failed)
foreach(page IN LISTS pages)
  get_filename_component(name "${page}" NAME)
  foreach(device default utf8)
    set(arguments -man -ww -z)
    if(NOT device STREQUAL "default")
      list(APPEND arguments -T${device})
    endif()
    execute_process(
      COMMAND ${CMAKE_COMMAND} -E env LC_ALL=C.UTF-8 ${GROFF} ${arguments} "${page}"
      RESULT_VARIABLE status
      OUTPUT_VARIABLE output
      ERROR_VARIABLE warnings)
    if(NOT status EQUAL 0 OR NOT warnings STREQUAL "")
      list(JOIN arguments " " shown)
      message("${name} (groff ${shown}): exit status ${status}\n${warnings}")
      list(APPEND failed "${name}")
    endif()
  endforeach()
endforeach()

if(failed)
  list(REMOVE_DUPLICATES failed)
  message(FATAL_ERROR "groff warns about: ${failed}")
endif()
message("docs.man: ${count} manual pages render without a warning")
