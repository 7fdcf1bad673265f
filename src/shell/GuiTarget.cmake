# The window library: every window class of every folder, on Qt 6 Widgets.
# Defined before the source folders so that each can add its windows.
find_package(Qt6 REQUIRED COMPONENTS Widgets)
add_library(linkora_gui STATIC)
target_link_libraries(linkora_gui PUBLIC linkora_core Qt6::Widgets PRIVATE linkora_warnings)
