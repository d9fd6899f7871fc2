# Programs that run while the editor is built (they write sources: the splash's pixels,
# the style's glyphs). A cross build cannot run its own builds of them, so it takes
# them from a build of this project for the machine it builds on, named by
# VARNEX_HOST_TOOLS (scripts/windows-package makes one).
set(VARNEX_HOST_TOOLS "" CACHE PATH "A build of this project for the build machine, for a cross build's build-time programs")

# varnex_build_tool(<name> <folder below the build> <sources>...): the program <name>,
# built here, or in a cross build taken from <VARNEX_HOST_TOOLS>/<folder>.
function(varnex_build_tool name folder)
  if(NOT CMAKE_CROSSCOMPILING)
    add_executable(${name} ${ARGN})
    return()
  endif()
  set(tool ${VARNEX_HOST_TOOLS}/${folder}/${name})
  if(NOT EXISTS ${tool})
    message(FATAL_ERROR "A cross build runs ${name} of a build for this machine: set VARNEX_HOST_TOOLS "
                        "to a build folder of this project where it is built (not found: ${tool})")
  endif()
  add_executable(${name} IMPORTED GLOBAL)
  set_target_properties(${name} PROPERTIES IMPORTED_LOCATION ${tool})
endfunction()
