# Link lines of calvex_dialogs (its dialogs reach the main window, calvex_core).
target_link_libraries(calvex_dialogs PUBLIC calvex_core calvex_firmware calvex_ui orv_framework orv_power orv_module orv_ui
  orv_base)
