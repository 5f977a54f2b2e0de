# Link lines of calvex_core (included by tray/CMakeLists.txt).
target_link_libraries(calvex_core PUBLIC orv_registry orv_fs orv_ui orv_base)
