# Turns the message table data file (UTF-8 rows: <id> "<text>") into a C++
# source of narrow string literals; the compiler's -fexec-charset=CP932 then
# stores them in code page 932.
#   cmake -DINPUT=messages.txt -DOUTPUT=rows.cpp -P GenMessageTable.cmake
if(NOT INPUT OR NOT OUTPUT)
  message(FATAL_ERROR "GenMessageTable: INPUT and OUTPUT are required")
endif()

file(READ "${INPUT}" content)

# CMake lists split on ';' and treat '\' and '[' ']' specially: hide those
# characters behind tokens of a control character the data never holds.
string(ASCII 1 soh)
string(REPLACE "\\" "${soh}B" content "${content}")
string(REPLACE ";" "${soh}S" content "${content}")
string(REPLACE "[" "${soh}L" content "${content}")
string(REPLACE "]" "${soh}R" content "${content}")
string(REPLACE "\r" "" content "${content}")
string(REPLACE "\n" ";" lines "${content}")

set(out "// Generated from the message table data file; do not edit.\n")
string(APPEND out "#include \"base/message_table.h\"\n\n")
string(APPEND out "const MessageRow MessageTable[] = {\n")
set(previous -2147483648)
set(count 0)
set(lineno 0)
foreach(line IN LISTS lines)
  math(EXPR lineno "${lineno} + 1")
  if(line STREQUAL "" OR line MATCHES "^#")
    continue()
  endif()
  if(NOT line MATCHES "^([0-9]+) \"(.*)\"$")
    message(FATAL_ERROR "${INPUT}:${lineno}: not a row of the form <id> \"<text>\"")
  endif()
  set(id "${CMAKE_MATCH_1}")
  set(text "${CMAKE_MATCH_2}")
  if(NOT id GREATER previous)
    message(FATAL_ERROR "${INPUT}:${lineno}: id ${id} is not above the previous id ${previous}")
  endif()
  set(previous ${id})
  # \n is the one escape of the data file; any other backslash is literal.
  string(REPLACE "${soh}Bn" "${soh}N" text "${text}")
  string(REPLACE "${soh}B" "\\\\" text "${text}")
  string(REPLACE "\"" "\\\"" text "${text}")
  string(REPLACE "?" "\\?" text "${text}")
  string(REPLACE "${soh}N" "\\n" text "${text}")
  string(REPLACE "${soh}S" ";" text "${text}")
  string(REPLACE "${soh}L" "[" text "${text}")
  string(REPLACE "${soh}R" "]" text "${text}")
  string(APPEND out "    {${id}, \"${text}\"},\n")
  math(EXPR count "${count} + 1")
endforeach()
string(APPEND out "};\n\n")
string(APPEND out "const size_t MessageTableSize = ${count};\n")
string(APPEND out "static_assert(sizeof(MessageTable) / sizeof(MessageTable[0]) == ${count}, \"row count\");\n")

# Rewrite only on change so that an unchanged table compiles once.
set(tmp "${OUTPUT}.tmp")
file(WRITE "${tmp}" "${out}")
file(COPY_FILE "${tmp}" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${tmp}")
