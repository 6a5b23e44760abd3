# Runs data/pictures/draw_pictures.py into WORK_DIR and compares every picture it draws (the map
# bitmaps, the About window's pictures and the icons in data/icons) with the committed one. Needs
# PYTHON, DATA_DIR and WORK_DIR.
if(NOT EXISTS "${PYTHON}")
  message("pictures.reproducible skipped: ${PYTHON} is missing")
  return()
endif()

file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")
execute_process(
  COMMAND "${PYTHON}" "${DATA_DIR}/pictures/draw_pictures.py" --out "${WORK_DIR}"
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "draw_pictures.py failed: ${status}")
endif()

set(pictures ZonasUTM.bmp UTMzone.bmp pictures/emblem.png pictures/globe.png)
foreach(size 16 24 32 48 64 128 256)
  list(APPEND pictures icons/hicolor/${size}x${size}/apps/zelvora.png)
endforeach()
list(APPEND pictures icons/hicolor/scalable/apps/zelvora.svg)
list(LENGTH pictures count)

set(different)
foreach(picture IN LISTS pictures)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E compare_files "${DATA_DIR}/${picture}" "${WORK_DIR}/${picture}"
    RESULT_VARIABLE same)
  if(NOT same EQUAL 0)
    list(APPEND different ${picture})
  endif()
endforeach()
if(different)
  message(FATAL_ERROR "redrawn pictures differ from the committed ones: ${different} "
                      "(run the zelvora_pictures target and commit the result)")
endif()
file(REMOVE_RECURSE "${WORK_DIR}")
message("pictures.reproducible: all ${count} pictures (the map bitmaps, the About window's "
        "pictures and the program's icons) redrawn byte for byte")
