# The manual as web pages, on Linux only: a desktop there opens a page in any browser, while the
# Word documents need an office suite. The pages go beside the documents under the documents'
# names, and the pictures they show (screenshots kept in docs/, named by the pages) into
# help-pictures/ beside them. The build lays them out in the program folder; packaging.cmake
# ships them.
set(ZEL_HELP_PAGE_SOURCES
  ${PROJECT_SOURCE_DIR}/docs/help/help_nl.html
  ${PROJECT_SOURCE_DIR}/docs/help/help_en.html)
set(ZEL_HELP_PAGE_NAMES "ZEL Nevora Help (Nederlands).html" "ZEL Nevora Help (English).html")
set(ZEL_HELP_PICTURE_FOLDER help-pictures)

# The pictures are the ones the pages name, so adding one to a page is all it takes.
set(ZEL_HELP_PICTURES)
foreach(page IN LISTS ZEL_HELP_PAGE_SOURCES)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${page})
  file(READ ${page} html)
  string(REGEX MATCHALL "src=\"${ZEL_HELP_PICTURE_FOLDER}/[^\"]+\"" references "${html}")
  foreach(reference IN LISTS references)
    string(REGEX REPLACE "^src=\"${ZEL_HELP_PICTURE_FOLDER}/(.*)\"$" "\\1" name "${reference}")
    set(picture ${PROJECT_SOURCE_DIR}/docs/${name})
    if(NOT EXISTS ${picture})
      message(FATAL_ERROR "${page} shows ${name}, which docs/ does not hold")
    endif()
    list(APPEND ZEL_HELP_PICTURES ${picture})
  endforeach()
endforeach()
list(REMOVE_DUPLICATES ZEL_HELP_PICTURES)

if(NOT WIN32)
  set(page_commands)
  foreach(page name IN ZIP_LISTS ZEL_HELP_PAGE_SOURCES ZEL_HELP_PAGE_NAMES)
    list(APPEND page_commands COMMAND ${CMAKE_COMMAND} -E copy_if_different ${page}
      "${ZEL_PROGRAM_DIR}/${name}")
  endforeach()
  add_custom_target(zel_help_pages ALL
    ${page_commands}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${ZEL_PROGRAM_DIR}/${ZEL_HELP_PICTURE_FOLDER}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${ZEL_HELP_PICTURES}
            ${ZEL_PROGRAM_DIR}/${ZEL_HELP_PICTURE_FOLDER}
    COMMENT "Laying out the help pages"
    VERBATIM)
  add_dependencies(zel_nevora zel_help_pages)
endif()
