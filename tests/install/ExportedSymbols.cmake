# The shared widget library exports its API classes and nothing else: no symbol of the core,
# the bag files, the locale data, the Qt internals or the standard library's instances.
#
#   cmake -DLIBRARY=path/to/libmervgauge-qt.so -P ExportedSymbols.cmake

find_program(nm nm REQUIRED)
execute_process(COMMAND ${nm} -D --defined-only --demangle ${LIBRARY}
    RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "nm failed on ${LIBRARY}: ${err}")
endif()

# What an exported symbol may be: a member of an API class, its virtual table or type
# information, a thunk into it, or the library's version node.
set(api_class "MervGauge(Widget|PropertySheet)")
set(allowed "^((typeinfo for |typeinfo name for |vtable for |non-virtual thunk to )?${api_class}(::|$)|MERVGAUGE_0$)")

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
    string(REGEX REPLACE "@@?MERVGAUGE_0$" "" name "${symbol}")
    math(EXPR count "${count} + 1")
    if(NOT name MATCHES "${allowed}")
        string(APPEND stray "\n  ${name}")
    endif()
endforeach()
if(count EQUAL 0)
    message(FATAL_ERROR "${LIBRARY} exports nothing; is it the widget library?")
endif()
if(stray)
    message(FATAL_ERROR "${LIBRARY} exports symbols outside its API:${stray}")
endif()
message(STATUS "${LIBRARY}: ${count} exported symbols, all of the API")
