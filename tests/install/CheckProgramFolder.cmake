# cmake -DBUILD_DIR=<build> -DWORK=<scratch folder> -P CheckProgramFolder.cmake
#
# For each folder name below, installs the build into WORK/<name> and checks the
# program folder; then moves a copy elsewhere and lets its install-desktop-entry
# write the entry anew, as after unpacking the tarball; then uninstalls it there.

# A failed check is reported and the others still run; cmake -P then exits non-zero.
macro(fail text)
  message(SEND_ERROR "${text}")
endmacro()

# What an installed folder holds, and nothing else: README.txt names each of these, so
# that its uninstall step deletes them all.
set(program_files LICENSE README.txt VarnexMaps install-desktop-entry uninstall-varnex varnex varnex-check
                  varnex-files.txt varnex.desktop varnex.png varnex.svg)
# What varnex-files.txt lists: every file of the folder.
set(listed_files ${program_files})
list(REMOVE_ITEM listed_files VarnexMaps)
list(APPEND listed_files VarnexMaps/README.txt)
list(SORT listed_files)

if(WORK MATCHES "[\\\"`$%]")
  message(FATAL_ERROR "the expected entries below assume ${WORK} holds none of \\ \" ` $ %")
endif()

# name | how the desktop entry's Exec value writes <folder>/varnex past WORK [| install option]
set(cases
  "plain|/plain/varnex|--strip"
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

# uninstall-varnex in a program folder used as a server's folder: it removes the files
# of Varnex and the menu entry made for that folder, and keeps the data, the map
# pictures, other files and another folder's menu entry.
function(check_uninstall folder)
  set(home "${WORK}/home")
  set(apps "${home}/.local/share/applications")
  file(REMOVE_RECURSE "${home}")
  file(WRITE "${folder}/data/monster.txt" "end\r\n")
  file(WRITE "${folder}/VarnexMaps/1.jpg" "picture")
  file(WRITE "${folder}/notes.txt" "kept")
  set(run env -u XDG_DATA_HOME "HOME=${home}")
  execute_process(COMMAND ${run} sh "${folder}/install-desktop-entry" --menu OUTPUT_QUIET)
  execute_process(COMMAND ${run} sh "${folder}/uninstall-varnex" RESULT_VARIABLE result
                  OUTPUT_VARIABLE out ERROR_VARIABLE out)
  file(GLOB_RECURSE left RELATIVE "${folder}" "${folder}/*")
  list(SORT left)
  if(NOT result EQUAL 0 OR NOT left STREQUAL "VarnexMaps/1.jpg;data/monster.txt;notes.txt")
    fail("uninstall-varnex in ${folder} gave ${result} and left ${left}:\n${out}")
  endif()
  if(EXISTS "${apps}/varnex.desktop")
    fail("uninstall-varnex left the menu entry of ${folder}")
  endif()
  file(REMOVE_RECURSE "${home}")
endfunction()

# uninstall-varnex run in a server's folder where another user owns data/ or the list:
# it refuses a list or a folder that anyone but the user running it may write to, and
# otherwise removes only regular files and links below its folder whose every folder on
# the way is a real folder, never data/ nor a map picture, whatever the list names. Each
# case works on a copy of the installed folder; its set-up runs there in sh.
function(check_uninstall_trusts_no_other_user source)
  execute_process(COMMAND id -u OUTPUT_VARIABLE uid OUTPUT_STRIP_TRAILING_WHITESPACE)
  # name | set-up | what the refusal names, below the folder ("." the folder; "" none)
  set(uninstall_cases
    "a list others may write to|chmod o+w varnex-files.txt|varnex-files.txt"
    "a list its group may write to|chmod g+w varnex-files.txt|varnex-files.txt"
    "a folder its group may write to|chmod g+w .|."
    "a list that is a link|mv varnex-files.txt ../list && ln -s \"$PWD/../list\" varnex-files.txt|varnex-files.txt"
    "a data folder that is a link|mv data ../data && ln -s \"$PWD/../data\" data && echo data >>varnex-files.txt|"
    "names that lead elsewhere|mkdir -p ../outside/sub && echo kept >../outside/b && echo kept >../outside/sub/x && ln -s \"$PWD/../outside\" lnk && printf '%s\\n' data/monster.txt data ../outside/b \"$PWD/../outside/sub/x\" lnk/b lnk/sub/x VarnexMaps/../data/monster.txt ./data/monster.txt data//monster.txt VarnexMaps/1.jpg >>varnex-files.txt|"
  )
  if(uid STREQUAL "0")
    list(APPEND uninstall_cases "a list of another user|chown nobody varnex-files.txt|varnex-files.txt")
  endif()
  foreach(case IN LISTS uninstall_cases)
    string(REPLACE "|" ";" parts "${case}")
    list(GET parts 0 name)
    list(GET parts 1 setup)
    list(LENGTH parts fields)
    set(named "")
    if(fields GREATER 2)
      list(GET parts 2 named)
    endif()
    set(place "${WORK}/refusals")
    set(folder "${place}/server")
    file(REMOVE_RECURSE "${place}")
    file(MAKE_DIRECTORY "${place}")
    execute_process(COMMAND cp -a "${source}" "${folder}")
    file(WRITE "${folder}/data/monster.txt" "end\r\n")
    file(WRITE "${folder}/VarnexMaps/1.jpg" "picture")
    execute_process(COMMAND sh -c "${setup}" WORKING_DIRECTORY "${folder}" RESULT_VARIABLE result ERROR_VARIABLE out)
    if(NOT result EQUAL 0)
      fail("uninstall-varnex, ${name}: the set-up failed: ${out}")
      continue()
    endif()
    file(GLOB_RECURSE before LIST_DIRECTORIES true RELATIVE "${place}" "${place}/*")
    execute_process(COMMAND env -u XDG_DATA_HOME "HOME=${place}/home" sh "${folder}/uninstall-varnex"
                    RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
    file(GLOB_RECURSE after LIST_DIRECTORIES true RELATIVE "${place}" "${place}/*")
    if(named)
      get_filename_component(refused "${folder}/${named}" ABSOLUTE)
      string(FIND "${out}" "uninstall-varnex: ${refused} may be changed by another user" said)
      if(result EQUAL 0 OR said EQUAL -1 OR NOT before STREQUAL after)
        fail("uninstall-varnex, ${name}: gave ${result}, not refusing with ${refused} named, or changed files:\n${out}")
      endif()
      continue()
    endif()
    set(kept_files server/data/monster.txt server/VarnexMaps/1.jpg)
    if(name MATCHES "^names")
      list(APPEND kept_files outside/b outside/sub/x server/lnk)
    else()
      list(APPEND kept_files data/monster.txt)
    endif()
    foreach(kept IN LISTS kept_files)
      if(NOT EXISTS "${place}/${kept}" AND NOT IS_SYMLINK "${place}/${kept}")
        fail("uninstall-varnex, ${name}: removed ${kept}:\n${out}")
      endif()
    endforeach()
    foreach(gone varnex varnex-check README.txt VarnexMaps/README.txt varnex-files.txt uninstall-varnex)
      if(EXISTS "${folder}/${gone}")
        fail("uninstall-varnex, ${name}: left ${gone}:\n${out}")
      endif()
    endforeach()
  endforeach()
  file(REMOVE_RECURSE "${WORK}/refusals")
endfunction()

file(REMOVE_RECURSE "${WORK}")
foreach(case IN LISTS cases)
  string(REPLACE "|" ";" parts "${case}")
  list(GET parts 0 name)
  list(GET parts 1 exec_tail)
  set(install_options)
  list(LENGTH parts fields)
  if(fields GREATER 2)
    list(GET parts 2 install_options)
  endif()
  set(folder "${WORK}/${name}")

  execute_process(COMMAND ${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${folder}" ${install_options}
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

  file(GLOB held RELATIVE "${folder}" "${folder}/*")
  list(SORT held)
  if(NOT held STREQUAL program_files)
    fail("${folder} should hold ${program_files}, holds: ${held}")
  endif()
  file(READ "${folder}/README.txt" readme)
  if(NOT readme MATCHES "^Varnex [0-9]+\\.[0-9]+\\.[0-9]+\n" OR readme MATCHES "@")
    fail("README.txt does not begin with the program's name and version")
  endif()
  foreach(name IN LISTS program_files)
    string(FIND "${readme}" "${name}" at)
    if(at EQUAL -1)
      fail("README.txt does not name ${name}")
    endif()
  endforeach()
  file(READ "${folder}/LICENSE" license)
  if(NOT license MATCHES "^MIT License\n\nCopyright \\(c\\) 2026 Varnex developers\n")
    fail("LICENSE is not the MIT licence of the Varnex developers")
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

  file(STRINGS "${folder}/varnex-files.txt" listed)
  list(SORT listed)
  if(NOT listed STREQUAL listed_files)
    fail("${folder}/varnex-files.txt should list ${listed_files}, lists: ${listed}")
  endif()
  # --strip leaves the programs without their symbol tables, as the tarball has them.
  if(install_options STREQUAL "--strip")
    foreach(program varnex varnex-check)
      execute_process(COMMAND readelf -S -W "${folder}/${program}" OUTPUT_VARIABLE sections RESULT_VARIABLE result)
      if(NOT result EQUAL 0 OR sections MATCHES "\\.symtab")
        fail("${folder}/${program} is not stripped (readelf gave ${result})")
      endif()
    endforeach()
  endif()

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
  list(APPEND moved_folders "${moved}")
endforeach()

# A folder that someone else installed: --menu writes the user's own menu entry, says
# where, and leaves the folder alone; without --menu the script says to use it. As
# root every folder may be written, so the script runs as the user nobody there.
function(check_menu_entry_for_others source)
  string(RANDOM LENGTH 10 tag)
  set(place "/tmp/varnex-menu-${tag}")
  set(program "${place}/program")
  set(home "${place}/home")
  file(MAKE_DIRECTORY "${home}")
  file(COPY "${source}/install-desktop-entry" DESTINATION "${program}")
  file(CHMOD "${place}" "${program}" PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
       GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
  execute_process(COMMAND id -u OUTPUT_VARIABLE uid OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(uid STREQUAL "0")
    execute_process(COMMAND chown nobody "${home}")
    set(as_user setpriv --reuid=nobody --regid=nogroup --clear-groups)
  else()
    file(CHMOD "${program}" PERMISSIONS OWNER_READ OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ
         WORLD_EXECUTE)
    set(as_user)
  endif()
  set(run ${as_user} env -u XDG_DATA_HOME "HOME=${home}" sh "${program}/install-desktop-entry")

  execute_process(COMMAND ${run} RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(result EQUAL 0 OR NOT out MATCHES "--menu")
    fail("install-desktop-entry in a folder of others gave ${result} without pointing to --menu:\n${out}")
  endif()
  execute_process(COMMAND ${run} --menu RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
  set(menu_entry "${home}/.local/share/applications/varnex.desktop")
  string(FIND "${out}" "${menu_entry}" named)
  if(NOT result EQUAL 0 OR named EQUAL -1)
    fail("install-desktop-entry --menu in a folder of others gave ${result}, not naming ${menu_entry}:\n${out}")
  elseif(EXISTS "${program}/varnex.desktop")
    fail("install-desktop-entry --menu wrote into a folder of others")
  else()
    file(STRINGS "${menu_entry}" lines)
    list(FIND lines "Exec=\"${program}/varnex\"" at)
    if(at EQUAL -1)
      fail("${menu_entry} does not start ${program}/varnex: ${lines}")
    endif()
  endif()
  file(CHMOD "${program}" PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
  file(REMOVE_RECURSE "${place}")
endfunction()

execute_process(COMMAND sh "${WORK}/moved/plain/install-desktop-entry" --help OUTPUT_VARIABLE usage)
if(NOT usage MATCHES "--as FOLDER" OR NOT usage MATCHES "--menu")
  fail("install-desktop-entry --help does not name --menu and --as FOLDER:\n${usage}")
endif()
check_menu_entry_for_others("${WORK}/moved/plain")
check_uninstall_trusts_no_other_user("${WORK}/moved/plain")
foreach(moved IN LISTS moved_folders)
  check_uninstall("${moved}")
endforeach()

file(REMOVE_RECURSE "${WORK}")
