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

# kalvex_add_module(<target> [WIDGETS] SOURCES ... [LIBS ...])
# A static library of one folder. A folder with both keeps its logic and its windows in two
# modules: the logic one links Qt Gui at most, so a widget header it includes is not found;
# the WIDGETS one holds the windows and links the logic one and Qt Widgets. Both expose the
# same folder. The sources of logic modules are listed for the Layering test.
function(kalvex_add_module target)
    cmake_parse_arguments(ARG "WIDGETS" "" "SOURCES;LIBS" ${ARGN})
    if(ARG_WIDGETS)
        set_property(GLOBAL APPEND PROPERTY KALVEX_WIDGET_MODULES ${target})
    else()
        get_property(widget_modules GLOBAL PROPERTY KALVEX_WIDGET_MODULES)
        foreach(lib ${ARG_LIBS})
            if(lib STREQUAL "Qt6::Widgets" OR lib IN_LIST widget_modules)
                message(FATAL_ERROR "${target} holds logic and may not link ${lib}: "
                                    "windows go into a module marked WIDGETS")
            endif()
        endforeach()
        file(RELATIVE_PATH folder ${KALVEX_SOURCE_ROOT} ${CMAKE_CURRENT_SOURCE_DIR})
        foreach(source ${ARG_SOURCES})
            set_property(GLOBAL APPEND PROPERTY KALVEX_LOGIC_SOURCES "${target} ${folder}/${source}")
        endforeach()
    endif()
    add_library(${target} STATIC ${ARG_SOURCES})
    kalvex_folder_includes(${target} PUBLIC)
    target_link_libraries(${target} PUBLIC ${ARG_LIBS})
    target_compile_options(${target} PRIVATE -Wall -Wextra)
endfunction()

# kalvex_write_logic_sources(<file>): one line "<module> <folder>/<source>" for each source of a
# logic module, for the Layering check.
function(kalvex_write_logic_sources file)
    get_property(entries GLOBAL PROPERTY KALVEX_LOGIC_SOURCES)
    list(JOIN entries "\n" content)
    file(CONFIGURE OUTPUT ${file} CONTENT "${content}\n" @ONLY)
endfunction()
