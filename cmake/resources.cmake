# orv_add_resources(<target> <script.rc> [INCLUDE <folder>...] [DEPENDS <target-or-file>...])
# gives a program the resources of its resource script. The Windows build
# compiles the script with windres; the simulated build turns it into a table
# (tools/orv-rc) that FindResourceA, LoadIconA and the dialog calls read.
# INCLUDE names further folders where the script's files are found.
function(orv_add_resources target script)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "" "INCLUDE;DEPENDS")
  get_filename_component(script ${script} ABSOLUTE)
  get_filename_component(script_dir ${script} DIRECTORY)
  if(CMAKE_SYSTEM_NAME STREQUAL "Windows")
    target_sources(${target} PRIVATE ${script})
    set_property(SOURCE ${script} APPEND PROPERTY INCLUDE_DIRECTORIES ${script_dir} ${arg_INCLUDE})
    foreach(dep ${arg_DEPENDS})
      if(TARGET ${dep})
        add_dependencies(${target} ${dep})
      else()
        set_property(SOURCE ${script} APPEND PROPERTY OBJECT_DEPENDS ${dep})
      endif()
    endforeach()
    return()
  endif()
  set(out ${CMAKE_CURRENT_BINARY_DIR}/${target}_resources.cpp)
  set(includes)
  foreach(dir ${arg_INCLUDE})
    list(APPEND includes -I ${dir})
  endforeach()
  add_custom_command(OUTPUT ${out}
    COMMAND orv-rc ${includes} ${script} ${out} ${out}.d
    DEPENDS orv-rc ${script} ${arg_DEPENDS}
    DEPFILE ${out}.d
    COMMENT "Compiling the resources of ${target}" VERBATIM)
  target_sources(${target} PRIVATE ${out})
  target_link_libraries(${target} PRIVATE orv_module)
endfunction()

# orv_add_calvex_resources(<target>) gives a program the tray program's own
# resources (tray/resources/Calvex.rc), with the HDD dialog's pictures the
# picture generator draws for it (ORV_ARTWORK_RESOURCES).
function(orv_add_calvex_resources target)
  orv_add_resources(${target} ${CMAKE_SOURCE_DIR}/tray/resources/Calvex.rc INCLUDE ${ORV_ARTWORK_RESOURCES}
    DEPENDS artwork ${ORV_ARTWORK_RESOURCE_FILES})
endfunction()
