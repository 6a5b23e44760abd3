# One check of the files an installation puts under share/, chosen by CHECK:
#   entry     desktop-file-validate on ENTRY; fails on its errors and warnings, not on its hints.
#   metainfo  appstreamcli validate on METAINFO, then appstreamcli validate-tree on WORK_DIR laid
#             out as an installation lays it out (share/applications/ with ENTRY,
#             share/metainfo/ with METAINFO named after its component id, share/icons/ with
#             ICONS); fails on errors and warnings, not on infos and pedantic hints.
#   icons     SCRIPT (check_icons.py) with PYTHON on ICONS: the sizes of the PNGs, the SVG's XML.
# Each prints "desktop.<check> skipped: ..." and succeeds when its tool is missing.

# Runs the command, shows what it printed and fails when it exits with an error or, with a
# PATTERN that is not empty, prints something that matches it.
function(validate pattern)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(out)
    message("${out}")
  endif()
  set(found)
  if(pattern)
    string(REGEX MATCH "${pattern}" found "${out}")
  endif()
  if(NOT status EQUAL 0 OR found)
    list(GET ARGN 0 tool)
    get_filename_component(tool "${tool}" NAME)
    message(FATAL_ERROR "desktop.${CHECK}: ${tool} found problems (exit status ${status})")
  endif()
endfunction()

if(CHECK STREQUAL "entry")
  find_program(DESKTOP_FILE_VALIDATE desktop-file-validate)
  if(NOT DESKTOP_FILE_VALIDATE)
    message("desktop.entry skipped: desktop-file-validate is missing "
            "(Debian package desktop-file-utils)")
    return()
  endif()
  validate("(^|\n)[^\n]*: (error|warning): " "${DESKTOP_FILE_VALIDATE}" "${ENTRY}")
  message("desktop.entry: ${ENTRY} is valid")

elseif(CHECK STREQUAL "metainfo")
  find_program(APPSTREAMCLI appstreamcli)
  if(NOT APPSTREAMCLI)
    message("desktop.metainfo skipped: appstreamcli is missing (Debian package appstream)")
    return()
  endif()
  set(problems "(^|\n) *[EW]: ")
  validate("${problems}" "${APPSTREAMCLI}" validate --no-net --no-color --explain "${METAINFO}")

  # An installed metainfo file is named after the component's id.
  file(READ "${METAINFO}" metainfo)
  string(REGEX MATCH "<id>([^<]+)</id>" found "${metainfo}")
  if(NOT found)
    message(FATAL_ERROR "desktop.metainfo: ${METAINFO} has no <id>")
  endif()
  set(id "${CMAKE_MATCH_1}")
  file(REMOVE_RECURSE "${WORK_DIR}")
  file(MAKE_DIRECTORY "${WORK_DIR}/usr/share/applications" "${WORK_DIR}/usr/share/metainfo"
                      "${WORK_DIR}/usr/share/icons")
  file(COPY "${ENTRY}" DESTINATION "${WORK_DIR}/usr/share/applications")
  configure_file("${METAINFO}" "${WORK_DIR}/usr/share/metainfo/${id}.metainfo.xml" COPYONLY)
  file(COPY "${ICONS}/hicolor" DESTINATION "${WORK_DIR}/usr/share/icons")
  validate("${problems}"
           "${APPSTREAMCLI}" validate-tree --no-net --no-color --explain "${WORK_DIR}")
  file(REMOVE_RECURSE "${WORK_DIR}")
  message("desktop.metainfo: ${METAINFO} is valid, on its own and installed as "
          "share/metainfo/${id}.metainfo.xml")

elseif(CHECK STREQUAL "icons")
  if(NOT EXISTS "${PYTHON}")
    message("desktop.icons skipped: ${PYTHON} is missing")
    return()
  endif()
  validate("" "${PYTHON}" "${SCRIPT}" "${ICONS}" zelvora 16 24 32 48 64 128 256)
  message("desktop.icons: every icon in ${ICONS} has its folder's size and format")

else()
  message(FATAL_ERROR "validate.cmake: CHECK must be entry, metainfo or icons, not '${CHECK}'")
endif()
