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

# The reference documents opened by the print form: three RTF documents copied as they are, and the
# summary of the coefficients laid out into a one-page PDF by the manual's tool.
foreach(_zav_document dcc.rtf ma.rtf srs.rtf)
  add_custom_command(
    OUTPUT ${ZAV_PROGRAM_DIR}/${_zav_document}
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_SOURCE_DIR}/${_zav_document} ${ZAV_PROGRAM_DIR}/${_zav_document}
    DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${_zav_document}
    VERBATIM)
  list(APPEND ZAV_TEMPLATE_FILES ${ZAV_PROGRAM_DIR}/${_zav_document})
endforeach()
add_custom_command(
  OUTPUT ${ZAV_PROGRAM_DIR}/CIRCxMILLESIMI.pdf
  COMMAND zav_mkmanual --title "Coefficienti correttivi e calcolo dei millesimi" ${ZAV_PROGRAM_DIR}/CIRCxMILLESIMI.pdf ${CMAKE_CURRENT_SOURCE_DIR}/CIRCxMILLESIMI.md
  DEPENDS zav_mkmanual ${CMAKE_CURRENT_SOURCE_DIR}/CIRCxMILLESIMI.md
  COMMENT "Generating CIRCxMILLESIMI.pdf"
  VERBATIM)
list(APPEND ZAV_TEMPLATE_FILES ${ZAV_PROGRAM_DIR}/CIRCxMILLESIMI.pdf)
