# RichEdit: the rich-text control fed by the core's RTF reader.
target_sources(velmar_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/rich_edit.cpp
  ${CMAKE_CURRENT_LIST_DIR}/rich_edit.h
  ${CMAKE_CURRENT_LIST_DIR}/text_document_rtf.cpp
  ${CMAKE_CURRENT_LIST_DIR}/text_document_rtf.h
)
