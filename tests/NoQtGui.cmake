# Fails when one of PROGRAMS needs Qt Gui or Qt Widgets.  The layers below the
# user interface, and the programs made only of them, must run on machines
# without a window system.
#   cmake -DREADELF=readelf -DPROGRAMS="iccdctl;iccdsim" -P NoQtGui.cmake
if(NOT PROGRAMS)
  message(FATAL_ERROR "no programs given")
endif()
set(failures "")
foreach(program IN LISTS PROGRAMS)
  execute_process(COMMAND "${READELF}" -d "${program}"
    OUTPUT_VARIABLE dynamic ERROR_VARIABLE error RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${READELF} -d ${program} failed: ${error}")
  endif()
  # Guards against reading the wrong file and passing for want of any Qt.
  if(NOT dynamic MATCHES "\\(NEEDED\\)[^\n]*\\[libQt6Core\\.so")
    message(FATAL_ERROR "${program} does not need libQt6Core: not the program expected")
  endif()
  string(REGEX MATCHALL "\\[libQt6(Gui|Widgets)\\.so[^]\n]*\\]" gui "${dynamic}")
  if(gui)
    string(JOIN " " gui ${gui})
    list(APPEND failures "${program} needs ${gui}")
  endif()
endforeach()
if(failures)
  list(JOIN failures "\n  " text)
  message(FATAL_ERROR "Qt Gui below the user interface:\n  ${text}")
endif()
