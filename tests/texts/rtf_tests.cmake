# The RTF reader, its block index and its text and HTML output.
velmar_test(rtf_tests
  ${CMAKE_CURRENT_LIST_DIR}/rtf_reader_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/rtf_reader_words_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/rtf_block_index_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/rtf_text_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/rtf_html_test.cpp
)
