# Every source file as clang-format writes it, so that formatting never shows up in a review.
find_program(CLANG_FORMAT clang-format REQUIRED)
file(GLOB_RECURSE sources CONFIGURE_DEPENDS
    ${PROJECT_SOURCE_DIR}/app/*.cpp ${PROJECT_SOURCE_DIR}/app/*.h
    ${PROJECT_SOURCE_DIR}/swatch/*.cpp ${PROJECT_SOURCE_DIR}/swatch/*.h
    ${PROJECT_SOURCE_DIR}/registry/*.cpp ${PROJECT_SOURCE_DIR}/registry/*.h
    ${PROJECT_SOURCE_DIR}/res/*.h ${PROJECT_SOURCE_DIR}/bench/*.cpp ${PROJECT_SOURCE_DIR}/bench/*.h
    ${PROJECT_SOURCE_DIR}/fuzz/*.cpp ${PROJECT_SOURCE_DIR}/tests/*.cpp ${PROJECT_SOURCE_DIR}/tests/*.h
    ${PROJECT_SOURCE_DIR}/tools/*.cpp ${PROJECT_SOURCE_DIR}/tools/*.h)
add_test(NAME source_format COMMAND ${CLANG_FORMAT} --dry-run --Werror ${sources})
