# Our Qt stand-ins for the platform's components: RichEdit (the rich-text
# control fed by the core's RTF reader), the month grid and spin edit, the
# message box, the desktop shell, the program's icon, the application object
# (the tray package's view of the program), the one-program-per-user guard
# the window-frame keeper, the paper the documents are shown on, colours
# that read on light and dark palettes, and windows that grow with the font.
target_sources(velmar_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/application.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ccalendar.cpp
  ${CMAKE_CURRENT_LIST_DIR}/cspin_edit.cpp
  ${CMAKE_CURRENT_LIST_DIR}/document_paper.cpp
  ${CMAKE_CURRENT_LIST_DIR}/document_paper.h
  ${CMAKE_CURRENT_LIST_DIR}/fit_to_font.cpp
  ${CMAKE_CURRENT_LIST_DIR}/fit_to_font.h
  ${CMAKE_CURRENT_LIST_DIR}/message_box.cpp
  ${CMAKE_CURRENT_LIST_DIR}/program_icon.cpp
  ${CMAKE_CURRENT_LIST_DIR}/readable_colours.cpp
  ${CMAKE_CURRENT_LIST_DIR}/readable_colours.h
  ${CMAKE_CURRENT_LIST_DIR}/rich_edit.cpp
  ${CMAKE_CURRENT_LIST_DIR}/rich_edit.h
  ${CMAKE_CURRENT_LIST_DIR}/rich_edit_find.cpp
  ${CMAKE_CURRENT_LIST_DIR}/shell.cpp
  ${CMAKE_CURRENT_LIST_DIR}/single_instance.cpp
  ${CMAKE_CURRENT_LIST_DIR}/text_document_rtf.cpp
  ${CMAKE_CURRENT_LIST_DIR}/text_document_rtf.h
  ${CMAKE_CURRENT_LIST_DIR}/window_frame.cpp
)
target_link_libraries(velmar_ui PUBLIC Lumora Qt6::Network)
