# cmake -DPROGRAM=path/to/webcgi [-DEMULATOR=qemu-arm] -DOUTPUT=endpoints.json -P endpoints_json.cmake
#
# Writes the program's endpoint catalogue as a JSON array for the browser
# console: one object per line of `webcgi --endpoints` (path, table, handler,
# summary and access level, separated by tabs), in catalogue order. Summaries may hold
# ';' and brackets, so lines are cut with string(FIND), never as CMake lists.

# Outside CGI the program prints the catalogue; with a request method set it
# would try to serve a request instead.
unset(ENV{REQUEST_METHOD})
execute_process(COMMAND ${EMULATOR} ${PROGRAM} --endpoints
  OUTPUT_VARIABLE catalogue RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} --endpoints failed: ${status}")
endif()

function(json_text value out)
  string(REPLACE "\\" "\\\\" value "${value}")
  string(REPLACE "\"" "\\\"" value "${value}")
  string(REPLACE "\r" "\\r" value "${value}")
  set(${out} "\"${value}\"" PARENT_SCOPE)
endfunction()

# cut(text sep head rest): head = text up to the first sep, rest = after it
# (empty when there is none).
function(cut text sep head rest)
  string(FIND "${text}" "${sep}" at)
  if(at EQUAL -1)
    set(${head} "${text}" PARENT_SCOPE)
    set(${rest} "" PARENT_SCOPE)
    return()
  endif()
  string(SUBSTRING "${text}" 0 ${at} first)
  math(EXPR after "${at} + 1")
  string(SUBSTRING "${text}" ${after} -1 remaining)
  set(${head} "${first}" PARENT_SCOPE)
  set(${rest} "${remaining}" PARENT_SCOPE)
endfunction()

set(json "")
set(count 0)
while(NOT catalogue STREQUAL "")
  cut("${catalogue}" "\n" line catalogue)
  if(line STREQUAL "")
    continue()
  endif()
  cut("${line}" "\t" path fields)
  cut("${fields}" "\t" table fields)
  cut("${fields}" "\t" handler fields)
  cut("${fields}" "\t" summary access)
  if(NOT path MATCHES "^/[^\t]+$" OR table STREQUAL "" OR handler STREQUAL "")
    message(FATAL_ERROR "unexpected catalogue line: ${line}")
  endif()
  json_text("${path}" path)
  json_text("${table}" table)
  json_text("${handler}" handler)
  json_text("${summary}" summary)
  json_text("${access}" access)
  if(count GREATER 0)
    string(APPEND json ",\n")
  endif()
  string(APPEND json "  {\"path\": ${path}, \"table\": ${table}, \"handler\": ${handler}, \"summary\": ${summary}, \"access\": ${access}}")
  math(EXPR count "${count} + 1")
endwhile()
if(count EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} --endpoints listed no endpoint")
endif()
file(WRITE "${OUTPUT}" "[\n${json}\n]\n")
