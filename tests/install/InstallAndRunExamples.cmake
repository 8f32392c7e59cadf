# Installs the build into a fresh prefix under WORK_DIR, builds the examples against that
# prefix alone and runs them headless, checking what they print.
#
#   cmake -DBUILD_DIR=... -DSOURCE_DIR=... -DWORK_DIR=... -DGENERATOR=... -DCXX_COMPILER=...
#         [-DCXX_COMPILER_LAUNCHER=...] [-DBUILD_TYPE=...] [-DCXX_FLAGS=...] [-DLINK_FLAGS=...]
#         -DEXPECTED_DESIGNED=... -P InstallAndRunExamples.cmake

# A two-gauges run this long sweeps the temperature past its high alarm.
set(two_gauges_seconds 3)
# A quick-dashboard run this long sweeps the pressure past its high alarm.
set(quick_dashboard_seconds 4)

include(${CMAKE_CURRENT_LIST_DIR}/RunCommand.cmake)

set(prefix ${WORK_DIR}/prefix)
file(REMOVE_RECURSE ${WORK_DIR})
run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})

foreach(header mervgauge/MervGaugeWidget.h mervgauge/MervGaugePropertySheet.h
               mervgauge/mervgauge_qt_export.h mervgauge/MervGauge.h
               mervgauge/mervgauge_quick_export.h mervgauge/control/MERV_Gauge.h
               mervgauge/bagfile/BagError.h)
    if(NOT EXISTS ${prefix}/include/${header})
        message(FATAL_ERROR "the install has no include/${header}")
    endif()
endforeach()
# Private headers stay in the build.
foreach(header mervgauge/qt mervgauge/private mervgauge/control/GaugeImpl.h
               mervgauge/strings/StringData.h)
    if(EXISTS ${prefix}/include/${header})
        message(FATAL_ERROR "the install has the private include/${header}")
    endif()
endforeach()
file(GLOB plugin ${prefix}/lib/*/qt6/plugins/designer/*mervgauge*
                 ${prefix}/lib/qt6/plugins/designer/*mervgauge*)
if(NOT plugin)
    message(FATAL_ERROR "the install has no Designer plugin under lib/.../qt6/plugins/designer")
endif()
# The plugin and the tools find the widget library of their own prefix, not the build tree's.
find_program(ldd ldd REQUIRED)
run(${ldd} ${plugin})
if(NOT run_output MATCHES "libmervgauge-qt[^\n]*=> ${prefix}/")
    message(FATAL_ERROR "the installed plugin does not load the prefix's widget library:\n${run_output}")
endif()
# The QML module lies in Qt's QML folder under the prefix, and its plugin loads the prefix's
# item library.
file(GLOB qmldir ${prefix}/lib/*/qt6/qml/MERVGauge/qmldir ${prefix}/lib/qt6/qml/MERVGauge/qmldir)
if(NOT qmldir)
    message(FATAL_ERROR "the install has no QML module under lib/.../qt6/qml/MERVGauge")
endif()
cmake_path(GET qmldir PARENT_PATH module_dir)
cmake_path(GET module_dir PARENT_PATH qml_import_path)
file(GLOB quick_plugin ${module_dir}/*mervgauge-quickplugin*)
run(${ldd} ${quick_plugin})
if(NOT run_output MATCHES "libmervgauge-quick[^\n]*=> ${prefix}/")
    message(FATAL_ERROR "the installed QML plugin does not load the prefix's item library:\n${run_output}")
endif()
run(${prefix}/bin/mervgauge-render --set Value=90 -o ${WORK_DIR}/render.png)
if(NOT run_output MATCHES "OnAlarmHigh" OR NOT EXISTS ${WORK_DIR}/render.png)
    message(FATAL_ERROR "the installed mervgauge-render did not render:\n${run_output}")
endif()

# The examples, and a build of every installed header on its own.
foreach(example examples/two-gauges examples/designed-form examples/quick-dashboard
                tests/install/headers)
    cmake_path(GET example FILENAME name)
    set(configure ${CMAKE_COMMAND} -S ${SOURCE_DIR}/${example} -B ${WORK_DIR}/${name}
        -G ${GENERATOR} -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_CXX_COMPILER=${CXX_COMPILER}
        -DCMAKE_BUILD_TYPE=${BUILD_TYPE} "-DCMAKE_CXX_FLAGS=${CXX_FLAGS}"
        "-DCMAKE_EXE_LINKER_FLAGS=${LINK_FLAGS}")
    if(CXX_COMPILER_LAUNCHER)
        list(APPEND configure -DCMAKE_CXX_COMPILER_LAUNCHER=${CXX_COMPILER_LAUNCHER})
    endif()
    run(${configure})
    run(${CMAKE_COMMAND} --build ${WORK_DIR}/${name})
endforeach()

run(${WORK_DIR}/two-gauges/two-gauges --seconds ${two_gauges_seconds})
if(NOT run_output MATCHES "OnAlarmHigh High alarm: Flue gas at [0-9]+")
    message(FATAL_ERROR "two-gauges did not report its high alarm:\n${run_output}")
endif()

run(${WORK_DIR}/designed-form/designed-form --print)
file(READ ${EXPECTED_DESIGNED} expected)
if(NOT run_output STREQUAL expected)
    message(FATAL_ERROR "designed-form printed\n${run_output}\ninstead of\n${expected}")
endif()
# The QML example finds the module by the import path a user of this prefix sets.
run(${CMAKE_COMMAND} -E env QML_IMPORT_PATH=${qml_import_path} QT_QUICK_BACKEND=software
    ${WORK_DIR}/quick-dashboard/quick-dashboard --seconds ${quick_dashboard_seconds})
if(NOT run_output MATCHES "High alarm: Pressure at [0-9]+")
    message(FATAL_ERROR "quick-dashboard did not report its high alarm:\n${run_output}")
endif()
message(STATUS "installed package: the examples built and ran, every header compiled alone")
