# The report viewer, the three report dialogs and the Saints page's search.
target_sources(velmar_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/dialog_support.cpp
  ${CMAKE_CURRENT_LIST_DIR}/report_viewer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/find_bar.cpp
  ${CMAKE_CURRENT_LIST_DIR}/report_export.cpp
  ${CMAKE_CURRENT_LIST_DIR}/velmar_dlg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/easter_dlg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/search_dlg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/saints_page.cpp
)

# The viewer saves period calendars as iCalendar files.
target_link_libraries(velmar_ui PUBLIC velmar_ical)
