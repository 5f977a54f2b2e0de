# Link lines of calvex_core (included by tray/CMakeLists.txt).
target_link_libraries(calvex_core PUBLIC OrvWmiAcpi calvex_audio calvex_dialogs calvex_firmware calvex_osd calvex_ui orv_framework
  orv_shell orv_sync orv_module orv_service_ctl orv_desktop orv_registry orv_fs orv_ui orv_base)
include(${CMAKE_CURRENT_SOURCE_DIR}/core/link_pump.cmake)
