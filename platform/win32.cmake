# The Windows build's platform: every area of the platform is the system itself,
# so each area's target is an interface to the system's import libraries, and the
# programs' CMake files link the same target names in both builds.
enable_language(RC)
add_compile_definitions(NOMINMAX)
# The programs run on a bare Windows: the C++ run-time and threads linked in.
add_link_options(-static -static-libgcc -static-libstdc++ -s)

function(orv_system_area target)
  add_library(${target} INTERFACE)
  target_link_libraries(${target} INTERFACE ${ARGN})
endfunction()

orv_system_area(orv_base kernel32)
orv_system_area(orv_text kernel32)
orv_system_area(orv_home)
orv_system_area(orv_sync kernel32)
orv_system_area(orv_fs kernel32)
orv_system_area(orv_pipe kernel32 advapi32)
orv_system_area(orv_security advapi32)
orv_system_area(orv_module kernel32)
orv_system_area(orv_sysinfo kernel32)
orv_system_area(orv_locale kernel32)
orv_system_area(orv_profile kernel32)
orv_system_area(orv_registry advapi32)
orv_system_area(orv_service_ctl advapi32)
orv_system_area(orv_power powrprof advapi32 user32)
orv_system_area(orv_gfx gdi32 gdiplus msimg32)
orv_system_area(orv_ui user32)
orv_system_area(orv_desktop user32 gdi32 shell32)
orv_system_area(orv_shell shell32 comdlg32)
orv_system_area(orv_wmi ole32 oleaut32 wbemuuid uuid)
orv_system_area(orv_audio ole32 uuid)

# The pictures beside the programs are drawn by this machine's build of the
# picture generator (ORV_HOST_BIN: its bin folder).
set(ORV_HOST_BIN "" CACHE PATH "bin folder of this machine's build (for orv-artwork)")
if(NOT EXISTS ${ORV_HOST_BIN}/orv-artwork)
  message(FATAL_ERROR "ORV_HOST_BIN must name a folder holding orv-artwork (build it first)")
endif()
set(stamp ${CMAKE_BINARY_DIR}/artwork.stamp)
add_custom_command(OUTPUT ${stamp}
  BYPRODUCTS ${ORV_ARTWORK_RESOURCE_FILES}
  COMMAND ${ORV_HOST_BIN}/orv-artwork ${CMAKE_BINARY_DIR}/bin/Image ${ORV_ARTWORK_RESOURCES}
  COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
  DEPENDS ${ORV_HOST_BIN}/orv-artwork
  COMMENT "Drawing the OSD pictures into bin/Image")
add_custom_target(artwork ALL DEPENDS ${stamp})
