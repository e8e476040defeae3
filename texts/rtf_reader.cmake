# The RTF reader (document model) and its text and HTML output; no Qt.
target_sources(velmar_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/rtf_reader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/rtf_text.cpp
  ${CMAKE_CURRENT_LIST_DIR}/rtf_html.cpp
)
