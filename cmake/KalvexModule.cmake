# kalvex_add_module(<target> SOURCES ... [LIBS ...])
# A static library of one folder; headers are included as "folder/Name.h".
function(kalvex_add_module target)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_library(${target} STATIC ${ARG_SOURCES})
    target_include_directories(${target} PUBLIC ${KALVEX_SOURCE_ROOT})
    target_link_libraries(${target} PUBLIC ${ARG_LIBS})
    target_compile_options(${target} PRIVATE -Wall -Wextra)
endfunction()
