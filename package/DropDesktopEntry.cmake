# Run by CPack on the staged folder before it is packed: the desktop entry written
# at install time names the staging folder, which means nothing once unpacked.
file(GLOB_RECURSE entries "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*varnex.desktop")
if(entries)
  file(REMOVE ${entries})
endif()
