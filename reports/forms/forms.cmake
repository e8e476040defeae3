# The report viewer, the three report dialogs and the Saints page's search.
target_sources(velmar_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/dialog_support.cpp
  ${CMAKE_CURRENT_LIST_DIR}/report_viewer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/velmar_dlg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/easter_dlg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/search_dlg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/saints_page.cpp
)
