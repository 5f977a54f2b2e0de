# Link lines of calvex_ui (its dialogs reach the main window, calvex_core), and the language table copied beside the programs
# (<build>/bin/StringTable/Language.ini) whenever it changes.
target_link_libraries(calvex_ui PUBLIC calvex_core calvex_firmware orv_framework orv_shell orv_registry orv_desktop orv_ui
  orv_gfx orv_wmi orv_module orv_profile orv_fs orv_locale orv_base)
set(calvex_language_source ${CMAKE_CURRENT_SOURCE_DIR}/resources/StringTable/Language.ini)
set(calvex_language_copy ${CMAKE_BINARY_DIR}/bin/StringTable/Language.ini)
if(WIN32)
  # Windows hands the ANSI profile calls the file's bytes: each section is written
  # in its language's ANSI code page.
  find_program(ORV_PYTHON3 python3 REQUIRED)
  set(calvex_language_writer ${CMAKE_SOURCE_DIR}/tools/language/ansi-language-table.py)
  add_custom_command(OUTPUT ${calvex_language_copy}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/bin/StringTable
    COMMAND ${ORV_PYTHON3} ${calvex_language_writer} ${calvex_language_source} ${calvex_language_copy}
    DEPENDS ${calvex_language_source} ${calvex_language_writer}
    COMMENT "Writing the language table in each language's code page")
else()
  # The simulated system's ANSI code page is UTF-8: the table as it is written.
  add_custom_command(OUTPUT ${calvex_language_copy}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/bin/StringTable
    COMMAND ${CMAKE_COMMAND} -E copy ${calvex_language_source} ${calvex_language_copy}
    DEPENDS ${calvex_language_source}
    COMMENT "Copying the language table")
endif()
add_custom_target(calvex_language_table ALL DEPENDS ${calvex_language_copy})
add_dependencies(calvex_ui calvex_language_table)
