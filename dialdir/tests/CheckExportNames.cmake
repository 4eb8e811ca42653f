# Fails unless the DLL exports exactly the six phone book functions under their plain names: a caller binding
# by name finds neither "_OpenPhone" nor a stdcall "OpenPhone@4".
execute_process(COMMAND ${OBJDUMP} -p ${DLL} OUTPUT_VARIABLE dump RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "${OBJDUMP} failed on ${DLL}")
endif()
string(REGEX MATCH "\\[Ordinal/Name Pointer\\] Table[^\n]*\n(([ \t]+\\[[^\n]*\n)+)" table "${dump}")
if(NOT table)
    message(FATAL_ERROR "no export name table in ${DLL}")
endif()
# Rows read "[   0] Name"; brackets would confuse CMake's lists, so they go before the text is split.
string(REGEX REPLACE "[ \t]*\\[[ 0-9]+\\][ \t]*" "" table "${CMAKE_MATCH_1}")
string(STRIP "${table}" table)
string(REPLACE "\n" ";" names "${table}")
list(SORT names)
set(expected GetAddressInfo GetNameandPhone OpenPhone PhoneBookDlgCreate PhoneBookDlgDestroy PhoneBookDlgModal)
if(NOT names STREQUAL expected)
    message(FATAL_ERROR "exports of ${DLL} are '${names}', expected '${expected}'")
endif()
