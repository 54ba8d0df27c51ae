# Lays out the program folder: copies data/ into it. The shipped settings file only starts a
# program folder: once there it holds the player's choices, which a rebuild must not undo.
# Usage: cmake -DSOURCE=<data folder> -DDESTINATION=<program folder> -P copy_program_data.cmake
set(settings "Dump/All_dat.ini")
file(COPY "${SOURCE}/" DESTINATION "${DESTINATION}" PATTERN "All_dat.ini" EXCLUDE)
if(NOT EXISTS "${DESTINATION}/${settings}")
  file(COPY "${SOURCE}/${settings}" DESTINATION "${DESTINATION}/Dump")
endif()
