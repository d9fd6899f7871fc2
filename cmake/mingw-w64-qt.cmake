# The editor and varnex-check for 64-bit Windows, and the Qt they are built against
# (scripts/windows-package builds both with this file).
#   cmake --preset windows -DVARNEX_WINDOWS_PREFIXES="<Qt folder>;<libjpeg folder>"
# Qt's DLLs and the programs share one C++ runtime, the compiler's DLLs beside them:
# exceptions and standard library objects then cross between them safely.
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
set(CMAKE_EXE_LINKER_FLAGS_INIT "")

# The Windows libraries' install folders are searched like the compiler's own root;
# try_compile projects get the list too.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES VARNEX_WINDOWS_PREFIXES)
if(VARNEX_WINDOWS_PREFIXES)
  list(APPEND CMAKE_FIND_ROOT_PATH ${VARNEX_WINDOWS_PREFIXES})
  list(APPEND CMAKE_PREFIX_PATH ${VARNEX_WINDOWS_PREFIXES})
endif()
