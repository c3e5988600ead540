# Runs pl3 twice with a fresh configuration folder; see tests/app/CMakeLists.txt.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
set(folder ${WORK}/pelmora3)

function(run_pl3)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env XDG_CONFIG_HOME=${WORK} PL3_BACKEND=headless PL3_DATA_DIR=${DATA}
                          ${PL3}
                  RESULT_VARIABLE rc OUTPUT_QUIET ERROR_QUIET)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "pl3 ended with ${rc}")
  endif()
endfunction()

run_pl3()
foreach(f PL3.CFG registry-user.xml)
  if(NOT EXISTS ${folder}/${f})
    message(FATAL_ERROR "the first run left no ${f}")
  endif()
endforeach()
file(READ ${folder}/PL3.CFG first_cfg HEX)
file(READ ${folder}/registry-user.xml registry)
string(FIND "${registry}" "name=\"QuasiTrackGap\" type=\"REG_SZ\" data=\"8\"" at)
if(at EQUAL -1)
  message(FATAL_ERROR "the first run saved no QuasiTrackGap of 8")
endif()
string(REPLACE "name=\"QuasiTrackGap\" type=\"REG_SZ\" data=\"8\"" "name=\"QuasiTrackGap\" type=\"REG_SZ\" data=\"12.5\""
       registry "${registry}")
string(REPLACE "name=\"NumberOfBackups\" type=\"REG_DWORD\" data=\"4\"" "name=\"NumberOfBackups\" type=\"REG_DWORD\" data=\"0\""
       registry "${registry}")
file(WRITE ${folder}/registry-user.xml "${registry}")

run_pl3()
file(READ ${folder}/registry-user.xml registry)
foreach(kept "name=\"QuasiTrackGap\" type=\"REG_SZ\" data=\"12.5\"" "name=\"NumberOfBackups\" type=\"REG_DWORD\" data=\"0\"")
  string(FIND "${registry}" "${kept}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the second run lost ${kept}")
  endif()
endforeach()
file(READ ${folder}/PL3.CFG second_cfg HEX)
if(NOT first_cfg STREQUAL second_cfg)
  message(FATAL_ERROR "the second run wrote another PL3.CFG")
endif()
