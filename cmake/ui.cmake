# The Qt side: velmar_ui (forms and Qt stand-ins) and the Velmar32 program.
# Each part lists its sources in a fragment of its own folder.
add_library(velmar_ui STATIC)
target_include_directories(velmar_ui PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(velmar_ui PUBLIC velmar_core Qt6::Core Qt6::Gui Qt6::Widgets Qt6::PrintSupport)
velmar_warnings(velmar_ui)

include(${CMAKE_SOURCE_DIR}/platform/rich_edit.cmake OPTIONAL)
include(${CMAKE_SOURCE_DIR}/platform/stand_ins.cmake OPTIONAL)
include(${CMAKE_SOURCE_DIR}/reports/forms/forms.cmake OPTIONAL)
include(${CMAKE_SOURCE_DIR}/app/ui.cmake OPTIONAL)
