# The main window, the about box and the Velmar32 program.
target_sources(velmar_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/about_box.cpp
  ${CMAKE_CURRENT_LIST_DIR}/help_dialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sign_hints.cpp
  ${CMAKE_CURRENT_LIST_DIR}/settings_dialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/main_window.cpp
  ${CMAKE_CURRENT_LIST_DIR}/main_window_design.cpp
  ${CMAKE_CURRENT_LIST_DIR}/main_window_fit.cpp
  ${CMAKE_CURRENT_LIST_DIR}/program_forms.cpp
  ${CMAKE_CURRENT_LIST_DIR}/reading_links.cpp
  ${CMAKE_CURRENT_LIST_DIR}/reading_window.cpp
  ${CMAKE_CURRENT_LIST_DIR}/main_window_comforts.cpp
)
target_link_libraries(velmar_ui PUBLIC Lumora velmar_sword)

add_executable(Velmar32 ${CMAKE_CURRENT_LIST_DIR}/main.cpp)
target_link_libraries(Velmar32 PRIVATE velmar_ui velmar_core Lumora)
velmar_warnings(Velmar32)
add_dependencies(Velmar32 velmar_data)
