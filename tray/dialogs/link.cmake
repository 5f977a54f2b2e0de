# Link lines of calvex_dialogs (its dialogs reach the main window, calvex_core,
# the firmware commands, the power schemes and the picture buttons, and read
# their texts from the language table, calvex_ui).
target_link_libraries(calvex_dialogs PUBLIC calvex_core calvex_firmware calvex_ui orv_framework orv_shell orv_registry
  orv_desktop orv_gfx orv_power orv_ui orv_locale orv_fs orv_module orv_base)
