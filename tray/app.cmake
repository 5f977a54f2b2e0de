# The tray program Calvex, from its parts (included by tray/CMakeLists.txt).
add_executable(Calvex ${CMAKE_CURRENT_SOURCE_DIR}/main.cpp)
target_link_libraries(Calvex PRIVATE calvex_core calvex_audio calvex_dialogs calvex_firmware calvex_osd calvex_ui)
# Its dialog templates, icons, bitmaps, PNG faces and manifest; the HDD dialog's
# pictures come from the picture generator.
orv_add_calvex_resources(Calvex)
if(CMAKE_SYSTEM_NAME STREQUAL "Windows")
  set_target_properties(Calvex PROPERTIES WIN32_EXECUTABLE ON)
  # The manifest is in the program; beside it too, for those who look for it there.
  add_custom_command(TARGET Calvex POST_BUILD COMMAND ${CMAKE_COMMAND} -E copy_if_different
    ${CMAKE_CURRENT_SOURCE_DIR}/resources/Calvex.manifest $<TARGET_FILE_DIR:Calvex>/Calvex.exe.manifest)
endif()
add_dependencies(Calvex artwork)
# The keyboard-hook library (kvkbhook/), which the program loads at run time, is built with it.
add_dependencies(Calvex KvKBHook)
# The ECO profiles' scheme files beside it (the simulated build writes them; see the README for Windows).
if(TARGET eco-schemes)
  add_dependencies(Calvex eco-schemes)
endif()
