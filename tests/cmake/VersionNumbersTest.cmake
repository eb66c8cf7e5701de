# cmake -P tests/cmake/VersionNumbersTest.cmake: the four numbers of the
# version resource as made from version texts, and the texts refused.
cmake_minimum_required(VERSION 3.20)
include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/Version.cmake)

set(refused "" "RC3" " 2.0" "2.0 " "2.0\"x" "2.0\;3" "1.2.3.4.5" "2.70000")
if(DEFINED REFUSED)  # the nested run below: one of them, whose error ends the run
  list(GET refused ${REFUSED} text)
  vak_version_numbers("${text}" numbers)
  return()
endif()

foreach(case "2.0 RC3=2,0,0,3" "2.1=2,1,0,0" "2=2,0,0,0" "2.1.4=2,1,4,0" "2.1 Beta 2=2,1,0,2"
             "2.1.4.7=2,1,4,7" "2.1.4.7 RC2=2,1,4,7" "2.08-rc09=2,8,0,9" "10.0+git3=10,0,0,3")
  string(FIND "${case}" "=" eq REVERSE)
  string(SUBSTRING "${case}" 0 ${eq} text)
  math(EXPR from "${eq} + 1")
  string(SUBSTRING "${case}" ${from} -1 expected)
  vak_version_numbers("${text}" numbers)
  if(NOT numbers STREQUAL expected)
    message(SEND_ERROR "\"${text}\" gave ${numbers}, expected ${expected}")
  endif()
endforeach()

list(LENGTH refused count)
math(EXPR last "${count} - 1")
foreach(i RANGE ${last})
  execute_process(COMMAND ${CMAKE_COMMAND} -DREFUSED=${i} -P ${CMAKE_CURRENT_LIST_FILE}
                  RESULT_VARIABLE rc OUTPUT_QUIET ERROR_VARIABLE error)
  list(GET refused ${i} text)
  if(rc EQUAL 0 OR NOT error MATCHES "VAK_VERSION")
    message(SEND_ERROR "\"${text}\" was taken as a version")
  endif()
endforeach()
