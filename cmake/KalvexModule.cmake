# Each folder is one layer; a module target exposes only its own folder, so a header of a
# folder the module does not link cannot be found. Headers are included as "folder/Name.h".
#
# kalvex_folder_includes(<target> <PUBLIC|PRIVATE>): the include tree holding only this folder.
function(kalvex_folder_includes target scope)
    get_filename_component(folder ${CMAKE_CURRENT_SOURCE_DIR} NAME)
    set(tree ${CMAKE_BINARY_DIR}/include/${folder})
    if(NOT EXISTS ${tree}/${folder})
        file(MAKE_DIRECTORY ${tree})
        file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${tree}/${folder} SYMBOLIC)
    endif()
    target_include_directories(${target} ${scope} $<BUILD_INTERFACE:${tree}>)
endfunction()

# kalvex_add_module(<target> SOURCES ... [LIBS ...])
# A static library of one folder.
function(kalvex_add_module target)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_library(${target} STATIC ${ARG_SOURCES})
    kalvex_folder_includes(${target} PUBLIC)
    target_link_libraries(${target} PUBLIC ${ARG_LIBS})
    target_compile_options(${target} PRIVATE -Wall -Wextra)
endfunction()
