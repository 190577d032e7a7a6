# The help file beside the program: "ZELTAHELP.HLP" in the folder the
# program and the window tests are built into.
set(ZELTA_HELP_FILE ${CMAKE_SOURCE_DIR}/resources/help/ZELTAHELP.HLP)
set(ZELTA_HELP_DIR ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
if(NOT ZELTA_HELP_DIR)
  set(ZELTA_HELP_DIR ${CMAKE_BINARY_DIR})
endif()
configure_file(${ZELTA_HELP_FILE} ${ZELTA_HELP_DIR}/ZELTAHELP.HLP COPYONLY)
