# cmake -DBUILD_DIR=<build> -DWORK=<scratch folder> -P CheckProgramFolder.cmake
#
# For each folder name below, installs the build into WORK/<name> and checks the
# program folder; then moves a copy elsewhere and lets its install-desktop-entry
# write the entry anew, as after unpacking the tarball.

# A failed check is reported and the others still run; cmake -P then exits non-zero.
macro(fail text)
  message(SEND_ERROR "${text}")
endmacro()

if(WORK MATCHES "[\\\"`$%]")
  message(FATAL_ERROR "the expected entries below assume ${WORK} holds none of \\ \" ` $ %")
endif()

# name | how the desktop entry's Exec value writes <folder>/varnex past WORK
set(cases
  "plain|/plain/varnex"
  "server one/Var$nex 100%|/server one/Var\\\\$nex 100%%/varnex"
  "say \"hi\" `now`|/say \\\\\"hi\\\\\" \\\\`now\\\\`/varnex"
)

function(check_entry folder exec_tail)
  set(entry "${folder}/varnex.desktop")
  if(NOT EXISTS "${entry}")
    fail("no ${entry}")
    return()
  endif()
  file(STRINGS "${entry}" lines)
  foreach(want "Exec=\"${WORK}${exec_tail}\"" "Path=${folder}" "Icon=${folder}/varnex.png"
               "Type=Application" "[Desktop Entry]")
    list(FIND lines "${want}" at)
    if(at EQUAL -1)
      fail("${entry} lacks the line: ${want}\n  it holds: ${lines}")
    endif()
  endforeach()
endfunction()

file(REMOVE_RECURSE "${WORK}")
foreach(case IN LISTS cases)
  string(REPLACE "|" ";" parts "${case}")
  list(GET parts 0 name)
  list(GET parts 1 exec_tail)
  set(folder "${WORK}/${name}")

  execute_process(COMMAND ${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${folder}"
                  RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT result EQUAL 0)
    fail("cmake --install into ${folder} failed:\n${out}")
    continue()
  endif()

  foreach(program varnex varnex-check install-desktop-entry)
    execute_process(COMMAND test -f "${folder}/${program}" -a -x "${folder}/${program}" RESULT_VARIABLE notExecutable)
    if(notExecutable)
      fail("${folder}/${program} is missing or not executable")
    endif()
  endforeach()

  execute_process(COMMAND "${folder}/varnex-check" --version RESULT_VARIABLE result OUTPUT_VARIABLE out)
  if(NOT result EQUAL 0 OR NOT out MATCHES "^varnex-check [0-9]+\\.[0-9]+\\.[0-9]+\n$")
    fail("${folder}/varnex-check --version gave ${result}: ${out}")
  endif()

  file(GLOB maps RELATIVE "${folder}/VarnexMaps" "${folder}/VarnexMaps/*")
  if(NOT maps STREQUAL "README.txt")
    fail("VarnexMaps/ should hold only README.txt, holds: ${maps}")
  else()
    file(READ "${folder}/VarnexMaps/README.txt" readme)
    if(NOT readme MATCHES "<map number>\\.jpg" OR NOT readme MATCHES "256 by 256")
      fail("VarnexMaps/README.txt does not say what goes there")
    endif()
  endif()

  file(READ "${folder}/varnex.svg" svg LIMIT 400)
  if(NOT svg MATCHES "<svg")
    fail("varnex.svg is not an SVG picture")
  endif()
  # PNG signature, IHDR, width 256, height 256
  file(READ "${folder}/varnex.png" png LIMIT 24 HEX)
  if(NOT png STREQUAL "89504e470d0a1a0a0000000d494844520000010000000100")
    fail("varnex.png is not a 256 by 256 PNG picture: ${png}")
  endif()

  check_entry("${folder}" "${exec_tail}")

  # The same folder somewhere else, with its entry written by its own script.
  set(moved "${WORK}/moved/${name}")
  get_filename_component(parent "${moved}" DIRECTORY)
  file(MAKE_DIRECTORY "${parent}")
  file(RENAME "${folder}" "${moved}")
  file(REMOVE "${moved}/varnex.desktop")
  execute_process(COMMAND sh "${moved}/install-desktop-entry" RESULT_VARIABLE result
                  OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT result EQUAL 0)
    fail("install-desktop-entry in ${moved} failed:\n${out}")
  endif()
  check_entry("${moved}" "/moved${exec_tail}")
endforeach()

file(REMOVE_RECURSE "${WORK}")
