# What cmake --install puts where, the package config that find_package(MERVGauge) reads, the
# pkg-config files, and the two Debian packages that cpack makes of it: the runtime (component
# runtime) and the development files (component devel).
include(CMakePackageConfigHelpers)

set(MERVGAUGE_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/MERVGauge)

# The public headers install from their folders (mervgauge_install_headers); consumers have
# PREFIX/include on their path and include <mervgauge/...>.
install(TARGETS mervgauge-core mervgauge-bagfile EXPORT MERVGaugeTargets
    ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT devel)
set_target_properties(mervgauge-bagfile PROPERTIES EXPORT_NAME bagfile)
# A stripped install (cmake --install --strip, and the packages) strips the static libraries
# of their debugging information too, which install(TARGETS) does for shared ones only.
foreach(archive mervgauge-core mervgauge-bagfile)
    install(CODE "
        if(CMAKE_INSTALL_DO_STRIP)
            execute_process(COMMAND \"${CMAKE_STRIP}\" --strip-debug
                \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_LIBDIR}/$<TARGET_FILE_NAME:${archive}>\"
                COMMAND_ERROR_IS_FATAL ANY)
        endif()" COMPONENT devel)
endforeach()
install(TARGETS mervgauge-host RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime)

if(MERVGAUGE_WITH_QT)
    install(TARGETS mervgauge-qt EXPORT MERVGaugeTargets
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime NAMELINK_COMPONENT devel)

    # The tools find the widget library beside them, wherever the prefix is.
    file(RELATIVE_PATH tools_to_lib /prefix/${CMAKE_INSTALL_BINDIR} /prefix/${CMAKE_INSTALL_LIBDIR})
    set_target_properties(mervgauge-render mervgauge-panel PROPERTIES
        INSTALL_RPATH "$ORIGIN/${tools_to_lib}")
    install(TARGETS mervgauge-render mervgauge-panel
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime)

    # The Qt Quick item: its library beside the widget's, its QML module (plugin, qmldir, type
    # information) in Qt's QML folder under the prefix, where Debian's Qt looks for modules
    # when the prefix is /usr; for another prefix an application adds that folder to its
    # import path (QML_IMPORT_PATH). The plugin finds the library from there.
    set(MERVGAUGE_INSTALL_QMLDIR ${CMAKE_INSTALL_LIBDIR}/qt6/qml CACHE PATH
        "Where the MERVGauge QML module installs, below the prefix")
    install(TARGETS mervgauge-quick EXPORT MERVGaugeTargets
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime NAMELINK_COMPONENT devel)
    file(RELATIVE_PATH plugin_to_lib /prefix/${MERVGAUGE_INSTALL_QMLDIR}/MERVGauge
        /prefix/${CMAKE_INSTALL_LIBDIR})
    set_target_properties(mervgauge-quickplugin PROPERTIES INSTALL_RPATH "$ORIGIN/${plugin_to_lib}")
    install(TARGETS mervgauge-quickplugin
        LIBRARY DESTINATION ${MERVGAUGE_INSTALL_QMLDIR}/MERVGauge COMPONENT runtime)
    install(FILES ${PROJECT_BINARY_DIR}/qml/MERVGauge/qmldir
        ${PROJECT_BINARY_DIR}/qml/MERVGauge/mervgauge-quick.qmltypes
        DESTINATION ${MERVGAUGE_INSTALL_QMLDIR}/MERVGauge COMPONENT runtime)
endif()

install(EXPORT MERVGaugeTargets NAMESPACE MERVGauge:: DESTINATION ${MERVGAUGE_INSTALL_CMAKEDIR}
    COMPONENT devel)
configure_package_config_file(cmake/MERVGaugeConfig.cmake.in
    ${CMAKE_CURRENT_BINARY_DIR}/MERVGaugeConfig.cmake
    INSTALL_DESTINATION ${MERVGAUGE_INSTALL_CMAKEDIR})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/MERVGaugeConfigVersion.cmake
    COMPATIBILITY SameMinorVersion)
install(FILES
    ${CMAKE_CURRENT_BINARY_DIR}/MERVGaugeConfig.cmake
    ${CMAKE_CURRENT_BINARY_DIR}/MERVGaugeConfigVersion.cmake
    DESTINATION ${MERVGAUGE_INSTALL_CMAKEDIR} COMPONENT devel)

# For builds without CMake: mervgauge (the widget) and mervgauge-core (the static core). They
# name the prefix relative to their own folder, so the install can move.
file(RELATIVE_PATH MERVGAUGE_PKGCONFIG_TO_PREFIX /prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig /prefix)
foreach(pc mervgauge-core mervgauge)
    if(pc STREQUAL "mervgauge" AND NOT MERVGAUGE_WITH_QT)
        continue()
    endif()
    configure_file(cmake/${pc}.pc.in ${CMAKE_CURRENT_BINARY_DIR}/${pc}.pc @ONLY)
    install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${pc}.pc
        DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig COMPONENT devel)
endforeach()

# Two Debian packages, as Debian ships a library: mervgauge holds what a station runs (the
# widget library, the tools, the Designer plugin) and depends on runtime libraries only;
# mervgauge-dev holds what a build needs (headers, CMake and pkg-config files, the static core)
# and depends on the runtime package of the same version and on Qt's development files.
set(CPACK_PACKAGE_NAME mervgauge)
set(CPACK_PACKAGE_VENDOR "MERVGauge developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Analog gauge control with a Qt 6 widget and tools")
set(CPACK_PACKAGE_CONTACT "MERVGauge developers <mervgauge@localhost>")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "MERVGauge developers <mervgauge@localhost>")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL runtime devel)
set(CPACK_DEBIAN_PACKAGE_VERSION ${PROJECT_VERSION})

set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME mervgauge)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION misc)
set(CPACK_COMPONENT_RUNTIME_DESCRIPTION
    "Analog gauge control: the Qt 6 widget library, its Designer plugin, the Qt Quick item and its QML module, the operator panel and the renderer")
# The libraries the binaries load come from dpkg-shlibdeps; the widget library is the package's
# own. Qt loads its platform plugins at run time, so shlibdeps cannot see them.
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${PROJECT_BINARY_DIR}/src/qt ${PROJECT_BINARY_DIR}/src/quick)
# The item's threshold editor makes its Button from QtQuick.Controls at run time.
set(CPACK_DEBIAN_RUNTIME_PACKAGE_DEPENDS
    "qt6-qpa-plugins, qml6-module-qtquick, qml6-module-qtquick-controls")

set(CPACK_DEBIAN_DEVEL_PACKAGE_NAME mervgauge-dev)
set(CPACK_DEBIAN_DEVEL_PACKAGE_SECTION libdevel)
set(CPACK_COMPONENT_DEVEL_DESCRIPTION
    "Analog gauge control: headers, CMake package, pkg-config files and the static core")
set(CPACK_DEBIAN_DEVEL_PACKAGE_DEPENDS
    "mervgauge (= ${PROJECT_VERSION}), qt6-base-dev, qt6-declarative-dev, nlohmann-json3-dev")

# The packages carry no debugging symbols; the build tree keeps them.
set(CPACK_STRIP_FILES TRUE)
set(CPACK_GENERATOR DEB)
include(CPack)
