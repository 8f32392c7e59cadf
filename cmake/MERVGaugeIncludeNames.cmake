# The include names of the tree's headers.
#
# Public headers are included as <mervgauge/...> from one include root, in the build tree as
# installed: the build's root is include/ in the build folder, where mervgauge/ holds a link for
# each folder or header that the name stands for. The tree's own sources use the same names,
# so an installed header includes exactly what a consumer's build finds.
#
# The tools and the panel keep their headers to themselves: each library gives its users a
# root of its own holding just its folder (host/..., panel/...), not the folder of every tool.
set(MERVGAUGE_INCLUDE_ROOT ${PROJECT_BINARY_DIR}/include)

function(mervgauge_link original link)
    string(REGEX REPLACE "(.)/$" "\\1" original ${original})
    cmake_path(GET link PARENT_PATH parent)
    file(MAKE_DIRECTORY ${parent})
    if(IS_SYMLINK ${link})
        file(READ_SYMLINK ${link} current)
        if(current STREQUAL original)
            return()
        endif()
        file(REMOVE ${link})
    endif()
    file(CREATE_LINK ${original} ${link} SYMBOLIC)
endfunction()

# <mervgauge/NAME/...> names the headers of FOLDER.
function(mervgauge_include_folder name folder)
    cmake_path(ABSOLUTE_PATH folder NORMALIZE)
    mervgauge_link(${folder} ${MERVGAUGE_INCLUDE_ROOT}/mervgauge/${name})
endfunction()

# <mervgauge/NAME> names FILE, for each FILE given as NAME=FILE.
function(mervgauge_include_files)
    foreach(pair IN LISTS ARGN)
        string(REPLACE "=" ";" parts ${pair})
        list(GET parts 0 name)
        list(GET parts 1 file)
        cmake_path(ABSOLUTE_PATH file NORMALIZE)
        mervgauge_link(${file} ${MERVGAUGE_INCLUDE_ROOT}/mervgauge/${name})
    endforeach()
endfunction()

# "NAME/..." names the headers of FOLDER for TARGET and the targets that link it.
function(mervgauge_internal_include_name target name folder)
    cmake_path(ABSOLUTE_PATH folder NORMALIZE)
    set(root ${PROJECT_BINARY_DIR}/include-internal/${target})
    mervgauge_link(${folder} ${root}/${name})
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "INTERFACE_LIBRARY")
        target_include_directories(${target} INTERFACE ${root})
    else()
        target_include_directories(${target} PUBLIC ${root})
    endif()
endfunction()

# Installs FILES of the current folder as <mervgauge/NAME/...> (NAME "." for <mervgauge/...>):
# the public headers only, for the development package.
function(mervgauge_install_headers name)
    set(destination ${CMAKE_INSTALL_INCLUDEDIR}/mervgauge)
    if(NOT name STREQUAL ".")
        string(APPEND destination /${name})
    endif()
    install(FILES ${ARGN} DESTINATION ${destination} COMPONENT devel)
endfunction()
