# Link lines of calvex_audio (included by tray/CMakeLists.txt).
target_link_libraries(calvex_audio PUBLIC calvex_core orv_audio orv_ui orv_sync)
