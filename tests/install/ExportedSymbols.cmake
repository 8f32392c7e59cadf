# A shared view library (the widget's, the Qt Quick item's) exports its API classes and
# nothing else: no symbol of the core, the bag files, the locale data, the Qt internals or the
# standard library's instances.
#
#   cmake -DLIBRARY=path/to/libmervgauge-qt.so -P ExportedSymbols.cmake
#   cmake -DLIBRARY=path/to/libmervgauge-quick.so -DAPI_CLASS=MervGauge
#         -DVERSION_NODE=MERVGAUGE_QUICK_0 -DEXTRA=qml_register_types_MERVGauge -P ...
#
# EXTRA names a free function the library exports besides (the QML module's registration).

find_program(nm nm REQUIRED)
execute_process(COMMAND ${nm} -D --defined-only --demangle ${LIBRARY}
    RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "nm failed on ${LIBRARY}: ${err}")
endif()

# What an exported symbol may be: a member of an API class, its virtual table or type
# information, a thunk into it, or the library's version node.
if(NOT DEFINED API_CLASS)
    set(API_CLASS "MervGauge(Widget|PropertySheet)")
endif()
if(NOT DEFINED VERSION_NODE)
    set(VERSION_NODE MERVGAUGE_0)
endif()
set(allowed "^((typeinfo for |typeinfo name for |vtable for |non-virtual thunk to )?${API_CLASS}(::|$)|${VERSION_NODE}$")
if(DEFINED EXTRA)
    string(APPEND allowed "|${EXTRA}\\(\\)$")
endif()
string(APPEND allowed ")")

string(REPLACE "\n" ";" lines "${out}")
set(count 0)
set(stray "")
foreach(line IN LISTS lines)
    if(NOT line MATCHES "^[0-9a-f]* *([A-Za-z]) (.*)$")
        continue()
    endif()
    # A lower-case type is a local symbol that the dynamic table lists without exporting it
    # (unoptimised builds keep some); u, v and w are global all the same.
    set(type "${CMAKE_MATCH_1}")
    set(symbol "${CMAKE_MATCH_2}")
    if(type MATCHES "^[a-tx-z]$")
        continue()
    endif()
    # The version node's name follows the symbol's; the API's own parameters may be core
    # types (merv::PropertyBag&), its names may not be.
    string(REGEX REPLACE "@@?${VERSION_NODE}$" "" name "${symbol}")
    math(EXPR count "${count} + 1")
    if(NOT name MATCHES "${allowed}")
        string(APPEND stray "\n  ${name}")
    endif()
endforeach()
if(count EQUAL 0)
    message(FATAL_ERROR "${LIBRARY} exports nothing; is it a view library?")
endif()
if(stray)
    message(FATAL_ERROR "${LIBRARY} exports symbols outside its API:${stray}")
endif()
message(STATUS "${LIBRARY}: ${count} exported symbols, all of the API")
