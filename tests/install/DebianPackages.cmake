# The two Debian packages as a station and a developer get them: cpack makes them from the
# build, dpkg-deb unpacks both into a scratch root, and the check reads what each holds and
# what it depends on, then builds and runs a program against the unpacked root with
# pkg-config alone.
#
#   cmake -DBUILD_DIR=... -DSOURCE_DIR=... -DWORK_DIR=... -DVERSION=... -DARCH_LIBDIR=...
#         -DCXX_COMPILER=... -P DebianPackages.cmake

include(${CMAKE_CURRENT_LIST_DIR}/RunCommand.cmake)

function(require what text pattern)
    if(NOT text MATCHES "${pattern}")
        message(FATAL_ERROR "${what} lacks ${pattern}:\n${text}")
    endif()
endfunction()

function(refuse what text pattern)
    if(text MATCHES "${pattern}")
        message(FATAL_ERROR "${what} has ${pattern}:\n${text}")
    endif()
endfunction()

file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
find_program(cpack cpack HINTS ${CMAKE_COMMAND}/.. REQUIRED)
find_program(dpkg_deb dpkg-deb REQUIRED)
find_program(readelf readelf REQUIRED)
run(${cpack} -G DEB --config ${BUILD_DIR}/CPackConfig.cmake -B ${WORK_DIR})

file(GLOB runtime_deb ${WORK_DIR}/mervgauge_${VERSION}_*.deb)
file(GLOB devel_deb ${WORK_DIR}/mervgauge-dev_${VERSION}_*.deb)
if(NOT runtime_deb OR NOT devel_deb)
    file(GLOB made ${WORK_DIR}/*.deb)
    message(FATAL_ERROR "cpack did not make mervgauge and mervgauge-dev ${VERSION}; it made: ${made}")
endif()

# What each package depends on. The runtime pulls no development package; the platform
# plugins are named, since the panel loads them at run time.
run(${dpkg_deb} -f ${runtime_deb} Depends)
set(runtime_depends "${run_output}")
require("mervgauge's Depends" "${runtime_depends}" "libqt6widgets6")
require("mervgauge's Depends" "${runtime_depends}" "qt6-qpa-plugins")
require("mervgauge's Depends" "${runtime_depends}" "libqt6quick6")
require("mervgauge's Depends" "${runtime_depends}" "qml6-module-qtquick")
require("mervgauge's Depends" "${runtime_depends}" "qml6-module-qtquick-controls")
refuse("mervgauge's Depends" "${runtime_depends}" "-dev([ ,(]|$)")
run(${dpkg_deb} -f ${devel_deb} Depends)
set(devel_depends "${run_output}")
string(REPLACE "." "\\." version_pattern ${VERSION})
require("mervgauge-dev's Depends" "${devel_depends}" "mervgauge \\(= ${version_pattern}\\)")
require("mervgauge-dev's Depends" "${devel_depends}" "qt6-base-dev")
require("mervgauge-dev's Depends" "${devel_depends}" "qt6-declarative-dev")

# What each holds: the runtime the libraries, tools and plugin; the development package the
# headers, the link name, the static core and the package files; no file in both.
run(${dpkg_deb} -c ${runtime_deb})
set(runtime_files "${run_output}")
run(${dpkg_deb} -c ${devel_deb})
set(devel_files "${run_output}")
set(lib "\\./usr/${ARCH_LIBDIR}")
foreach(file
        "${lib}/libmervgauge-qt\\.so\\.[0-9]+\\.[0-9]+\n"
        "${lib}/qt6/plugins/designer/libmervgauge-designer\\.so\n"
        "${lib}/libmervgauge-quick\\.so\\.[0-9]+\\.[0-9]+\n"
        "${lib}/qt6/qml/MERVGauge/qmldir\n"
        "${lib}/qt6/qml/MERVGauge/libmervgauge-quickplugin\\.so\n"
        "\\./usr/bin/mervgauge-panel\n" "\\./usr/bin/mervgauge-render\n"
        "\\./usr/bin/mervgauge-host\n")
    require("mervgauge" "${runtime_files}" "${file}")
endforeach()
foreach(file "/usr/include/" "\\.a\n" "libmervgauge-qt\\.so( -|\n)" "libmervgauge-quick\\.so( -|\n)"
        "/cmake/" "/pkgconfig/")
    refuse("mervgauge" "${runtime_files}" "${file}")
endforeach()
foreach(file
        "\\./usr/include/mervgauge/MervGaugeWidget\\.h\n"
        "\\./usr/include/mervgauge/mervgauge_qt_export\\.h\n"
        "\\./usr/include/mervgauge/MervGauge\\.h\n"
        "${lib}/libmervgauge-quick\\.so -> libmervgauge-quick\\.so\\.[0-9]+\n"
        "${lib}/libmervgauge-qt\\.so -> libmervgauge-qt\\.so\\.[0-9]+\n"
        "${lib}/libmervgauge-core\\.a\n" "${lib}/libmervgauge-bagfile\\.a\n"
        "${lib}/cmake/MERVGauge/MERVGaugeConfig\\.cmake\n"
        "${lib}/pkgconfig/mervgauge\\.pc\n" "${lib}/pkgconfig/mervgauge-core\\.pc\n")
    require("mervgauge-dev" "${devel_files}" "${file}")
endforeach()
foreach(file "/usr/bin/" "/plugins/" "/qml/" "\\./usr/lib/[^ \n]*\\.so\\.[0-9]" "/private/")
    refuse("mervgauge-dev" "${devel_files}" "${file}")
endforeach()

set(root ${WORK_DIR}/root)
run(${dpkg_deb} -x ${runtime_deb} ${root})
run(${dpkg_deb} -x ${devel_deb} ${root})

# Nothing ships its debugging information.
file(GLOB_RECURSE shipped LIST_DIRECTORIES false ${root}/usr/bin/* ${root}/usr/lib/*.so*
     ${root}/usr/lib/*.a)
foreach(file IN LISTS shipped)
    if(IS_SYMLINK ${file})
        continue()
    endif()
    run(${readelf} -S -W ${file})
    refuse("${file}" "${run_output}" "\\.debug_info")
endforeach()

# A build without CMake: pkg-config finds the widget in the unpacked root, and the program
# runs on the root's library.
find_program(pkg_config pkg-config REQUIRED)
set(ENV{PKG_CONFIG_PATH} ${root}/usr/${ARCH_LIBDIR}/pkgconfig)
run(${pkg_config} --cflags --libs mervgauge)
separate_arguments(flags UNIX_COMMAND "${run_output}")
run(${CXX_COMPILER} -std=c++20 -fPIC ${SOURCE_DIR}/examples/two-gauges/main.cpp ${flags}
    -o ${WORK_DIR}/two-gauges)
set(ENV{LD_LIBRARY_PATH} ${root}/usr/${ARCH_LIBDIR})
run(${WORK_DIR}/two-gauges --seconds 1)
message(STATUS "Debian packages: mervgauge (${runtime_depends}) and mervgauge-dev (${devel_depends})")
