# The program's version: one text (cache variable VAK_VERSION, "2.0 RC3") that
# the window caption, the about panel, the manual update check and the version
# resources of both exes take from the generated header Version.h.
#
# The version resource also wants four numbers (FILEVERSION a,b,c,d, each
# 0-65535). They come from the text: its leading numbers, separated by dots,
# are a, b, c and d; missing ones are 0, except that when fewer than four are
# given, d is the first number after them (the 3 of "RC3"):
#   "2.0 RC3" -> 2,0,0,3    "2.1" -> 2,1,0,0    "2.1.4" -> 2,1,4,0
#   "2.1 Beta 2" -> 2,1,0,2  "2.1.4.7" -> 2,1,4,7
# A final release therefore has a smaller last number than its release
# candidates; nothing compares these numbers (the update check compares the
# version text), they are what Explorer's file properties show.

# Fails unless `text` can be a version: it begins with a number, holds only
# letters, digits, blanks and . + - (it goes into C and resource strings, INI
# values and a file name), and has no blank at either end (an INI reader drops
# those, so the update check would never find its own version).
function(vak_check_version text)
  if(NOT text MATCHES "^[0-9]([0-9A-Za-z .+-]*[0-9A-Za-z.+-])?$")
    message(FATAL_ERROR "VAK_VERSION \"${text}\": a version begins with a number and holds only letters, digits, "
                        "blanks and . + - (no blank at either end), e.g. \"2.0 RC3\" or \"2.1\"")
  endif()
endfunction()

# Sets `out` to the four numbers of version `text`, joined by commas.
function(vak_version_numbers text out)
  vak_check_version("${text}")
  string(REGEX MATCH "^[0-9]+(\\.[0-9]+)*" lead "${text}")
  string(LENGTH "${lead}" leadLength)
  string(SUBSTRING "${text}" ${leadLength} -1 rest)
  string(REPLACE "." ";" numbers "${lead}")
  list(LENGTH numbers count)
  if(count GREATER 4)
    message(FATAL_ERROR "VAK_VERSION \"${text}\": at most four numbers before the first letter or blank")
  endif()
  set(last 0)
  if(count EQUAL 4)
    list(POP_BACK numbers last)
  elseif(rest MATCHES "([0-9]+)")
    set(last ${CMAKE_MATCH_1})
  endif()
  while(count LESS 3)
    list(APPEND numbers 0)
    math(EXPR count "${count} + 1")
  endwhile()
  list(APPEND numbers ${last})
  set(result "")
  foreach(n IN LISTS numbers)
    # "08" would be an octal number to the resource compiler.
    string(REGEX REPLACE "^0+([0-9])" "\\1" n "${n}")
    if(n GREATER 65535)
      message(FATAL_ERROR "VAK_VERSION \"${text}\": ${n} is larger than 65535")
    endif()
    list(APPEND result ${n})
  endforeach()
  string(JOIN "," result ${result})
  set(${out} "${result}" PARENT_SCOPE)
endfunction()
