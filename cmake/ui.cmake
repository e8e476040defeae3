# The Qt side: velmar_ui (the Qt stand-ins of widgets/, the report viewer and
# dialogs of reports/forms/, the main window and about box of app/) and the
# Velmar32 program. Each part lists its sources in a fragment of its folder.
add_library(velmar_ui STATIC)
target_include_directories(velmar_ui PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(velmar_ui PUBLIC velmar_core Qt6::Core Qt6::Gui Qt6::Widgets Qt6::PrintSupport)
velmar_warnings(velmar_ui)

include(${CMAKE_SOURCE_DIR}/widgets/widgets.cmake)
include(${CMAKE_SOURCE_DIR}/reports/forms/forms.cmake)
include(${CMAKE_SOURCE_DIR}/app/ui.cmake)
message(STATUS "Qt side: velmar_ui (widgets/, reports/forms/, app/) and the Velmar32 program")
