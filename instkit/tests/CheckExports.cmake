# Fails unless the DLL exports exactly the twenty install services, each under its plain name at its ordinal: an
# installer binding by name finds neither "_InstallPrinter" nor a stdcall "InstallPrinter@56".
execute_process(COMMAND ${OBJDUMP} -p ${DLL} OUTPUT_VARIABLE dump RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "${OBJDUMP} failed on ${DLL}")
endif()
string(REGEX MATCH "Ordinal Base[ \t]+([0-9]+)" base "${dump}")
set(base ${CMAKE_MATCH_1})
string(REGEX MATCH "\\[Ordinal/Name Pointer\\] Table[^\n]*\n(([ \t]+\\[[^\n]*\n)+)" table "${dump}")
if(NOT table)
    message(FATAL_ERROR "no export name table in ${DLL}")
endif()
string(REPLACE "\n" ";" rows "${CMAKE_MATCH_1}")
set(found "")
foreach(row ${rows})
    # "[  18] AddItem32": the index into the address table, which starts at the ordinal base.
    if(row MATCHES "\\[ *([0-9]+)\\][ \t]+([^ \t]+)")
        math(EXPR ordinal "${CMAKE_MATCH_1} + ${base}")
        list(APPEND found "${ordinal}=${CMAKE_MATCH_2}")
    endif()
endforeach()
list(SORT found COMPARE NATURAL)
set(expected 2=SelectSetup 3=SelectVendorSetup 4=InstallPrinter 5=UnInstallPrinter 6=AddNetPort
    7=CreatePrinterList 8=GetNextPrinterData 9=FreePrinterList 10=ReplaceFileOnReboot 11=GetDefaultLangID
    12=UpdateICMInfo 13=CreatePortList 14=GetNextPortData 15=FreePortList 16=CreateDriverList 17=IsFileInDrvList
    18=FreeDriverList 19=CreateGroup32 20=AddItem32 21=DeleteGroup32)
if(NOT found STREQUAL expected)
    message(FATAL_ERROR "exports of ${DLL} (ordinal base ${base}) are '${found}', expected '${expected}'")
endif()
