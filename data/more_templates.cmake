# Templates of the project archive dialog: the terrace archive copied beside every project, and the
# calculation report document copied as each project's NAME.RTF.
zav_template(TERRAZZE.CLO terrazze.sql)

set(_zav_report ${ZAV_PROGRAM_DIR}/RELAZION.rtf)
add_custom_command(
  OUTPUT ${_zav_report}
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_SOURCE_DIR}/RELAZION.rtf ${_zav_report}
  DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/RELAZION.rtf
  COMMENT "Copying RELAZION.rtf"
  VERBATIM)
list(APPEND ZAV_TEMPLATE_FILES ${_zav_report})
