# The tray program Calvex, from its parts (included by tray/CMakeLists.txt).
add_executable(Calvex ${CMAKE_CURRENT_SOURCE_DIR}/main.cpp)
target_link_libraries(Calvex PRIVATE calvex_core calvex_firmware calvex_osd calvex_ui)
add_dependencies(Calvex artwork)
# The keyboard-hook stand-in (kvkbhook/), which the program loads at run time, is built with it.
add_dependencies(Calvex KvKBHook)
