# One switch for the sanitizer builds of test.sh.
if(KALVEX_SANITIZE STREQUAL "address")
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer
                        -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
elseif(KALVEX_SANITIZE STREQUAL "thread")
    add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
    add_link_options(-fsanitize=thread)
elseif(NOT KALVEX_SANITIZE STREQUAL "")
    message(FATAL_ERROR "KALVEX_SANITIZE must be empty, address or thread")
endif()
