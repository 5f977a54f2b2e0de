# Link lines of calvex_firmware.
target_link_libraries(calvex_firmware PUBLIC OrvWmiAcpi calvex_core calvex_ui orv_power orv_security orv_profile orv_fs
  orv_wmi orv_base)
