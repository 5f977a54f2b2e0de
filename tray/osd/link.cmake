# Link lines of the OSD window library (included by tray/CMakeLists.txt).
target_link_libraries(calvex_osd PUBLIC orv_framework orv_desktop orv_gfx orv_fs orv_sysinfo orv_ui orv_text)
