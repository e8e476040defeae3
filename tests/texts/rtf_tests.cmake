# The RTF reader, its block index and its text output.
velmar_test(rtf_tests
  ${CMAKE_CURRENT_LIST_DIR}/rtf_reader_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/rtf_block_index_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/rtf_text_test.cpp
)
