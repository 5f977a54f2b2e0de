# Link needs of the message pump (tray/core/message_pump.cpp).
target_link_libraries(calvex_core PUBLIC orv_ui)
