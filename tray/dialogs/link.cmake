# Link lines of calvex_dialogs (its dialogs reach the main window, calvex_core,
# the firmware's commands and the power schemes, and read their texts from the
# language table, calvex_ui).
target_link_libraries(calvex_dialogs PUBLIC calvex_core calvex_firmware calvex_ui orv_framework orv_shell orv_registry
  orv_desktop orv_power orv_module orv_ui orv_fs orv_base)
