# The release archives: the portable program folder as the build lays it out (the executable,
# the help documents and on Linux the help pages, Dump/ with packs, fog files, textures and an
# empty Back_up/), packed by CPack as ZEL-Nevora-<version>-<system>-<arch>.<ext> with one top
# folder of the same name.
# scripts/package-linux.sh and scripts/package-windows.sh drive it.
include(GNUInstallDirs)

install(TARGETS zel_nevora RUNTIME DESTINATION .)
# The placeholders that keep empty folders in git are not shipped; the folders are.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/ DESTINATION . PATTERN ".keep" EXCLUDE)

set(ZEL_ICON_SIZES 16 24 32 48 64 128 256)
if(NOT WIN32)
  # A desktop entry and the icon at the usual sizes, in the folder layout of the icon theme
  # specification; add-to-menu.sh copies both into the user's menu.
  foreach(size IN LISTS ZEL_ICON_SIZES)
    install(FILES ${PROJECT_SOURCE_DIR}/src/gui/widgets/icons/zel-nevora-${size}.png
      DESTINATION icons/hicolor/${size}x${size}/apps RENAME zel-nevora.png)
  endforeach()
  install(FILES ${PROJECT_SOURCE_DIR}/cmake/linux/zel-nevora.desktop DESTINATION .)
  # The help pages beside the documents, with their pictures (help_pages.cmake).
  foreach(page name IN ZIP_LISTS ZEL_HELP_PAGE_SOURCES ZEL_HELP_PAGE_NAMES)
    install(FILES ${page} DESTINATION . RENAME ${name})
  endforeach()
  install(FILES ${ZEL_HELP_PICTURES} DESTINATION ${ZEL_HELP_PICTURE_FOLDER})
  install(PROGRAMS ${PROJECT_SOURCE_DIR}/cmake/linux/add-to-menu.sh DESTINATION .)
endif()

if(WIN32)
  enable_language(RC)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/windows/zel-nevora.rc.in ${CMAKE_BINARY_DIR}/zel-nevora.rc @ONLY)
  target_sources(zel_nevora PRIVATE ${CMAKE_BINARY_DIR}/zel-nevora.rc)
endif()

if(WIN32)
  set(ZEL_PACKAGE_SYSTEM windows-x64)
  set(CPACK_GENERATOR ZIP)
else()
  set(ZEL_PACKAGE_SYSTEM linux-${CMAKE_SYSTEM_PROCESSOR})
  set(CPACK_GENERATOR TGZ)
endif()
set(CPACK_PACKAGE_NAME "ZEL Nevora")
set(CPACK_PACKAGE_VENDOR "ZEL Nevora")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME "ZEL-Nevora-${PROJECT_VERSION}-${ZEL_PACKAGE_SYSTEM}")
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_SOURCE_GENERATOR "")
include(CPack)
