# Qt stand-ins for the platform services the forms use: the application
# object, the month grid and spin edit, the message box, the desktop shell,
# autostart and the program's icon.
target_sources(velmar_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/application.cpp
  ${CMAKE_CURRENT_LIST_DIR}/autostart.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ccalendar.cpp
  ${CMAKE_CURRENT_LIST_DIR}/cspin_edit.cpp
  ${CMAKE_CURRENT_LIST_DIR}/message_box.cpp
  ${CMAKE_CURRENT_LIST_DIR}/program_icon.cpp
  ${CMAKE_CURRENT_LIST_DIR}/shell.cpp
  ${CMAKE_CURRENT_LIST_DIR}/single_instance.cpp
  ${CMAKE_CURRENT_LIST_DIR}/window_frame.cpp
)
# The application object is the tray package's view of the program.
target_link_libraries(velmar_ui PUBLIC Lumora Qt6::Network)
