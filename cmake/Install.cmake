# Installation into the standard places of a Linux desktop:
#   bin/                                  kestrune, kestrune-batch
#   lib/kestrune/                         the encoder library (lame_enc/, found
#                                         by the programs as <bin>/../lib/kestrune)
#   share/applications/                   kestrune.desktop
#   share/icons/hicolor/scalable/apps/    kestrune.svg, the application icon
# The programs stay in bin/ whatever GNUInstallDirs would say, as the encoder
# library's place is fixed relative to them.

if(TARGET kestrune-batch)
  install(TARGETS kestrune-batch RUNTIME DESTINATION bin)
endif()

if(TARGET kestrune)
  install(TARGETS kestrune RUNTIME DESTINATION bin)
  install(FILES ${CMAKE_SOURCE_DIR}/desktop/kestrune.desktop DESTINATION share/applications)

  # The icon file is written from the program's own icon resource, so the two
  # never differ.
  add_executable(kestrune-icon-export ${CMAKE_SOURCE_DIR}/desktop/ExportIcon.cpp)
  target_link_libraries(kestrune-icon-export PRIVATE kestrune_resources)
  set_target_properties(kestrune-icon-export PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
  set(KESTRUNE_ICON_FILE ${CMAKE_BINARY_DIR}/share/kestrune.svg)
  add_custom_command(OUTPUT ${KESTRUNE_ICON_FILE}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/share
    COMMAND kestrune-icon-export ${KESTRUNE_ICON_FILE}
    DEPENDS kestrune-icon-export
    COMMENT "Writing the application icon")
  add_custom_target(kestrune-icon ALL DEPENDS ${KESTRUNE_ICON_FILE})
  add_dependencies(kestrune kestrune-icon)
  install(FILES ${KESTRUNE_ICON_FILE} DESTINATION share/icons/hicolor/scalable/apps)
endif()
