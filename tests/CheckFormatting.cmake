# Every C++ file of the project follows the checked-in .clang-format.
file(GLOB_RECURSE sources RELATIVE "${ROOT}"
    "${ROOT}/model/*.[ch]*" "${ROOT}/midi/*.[ch]*" "${ROOT}/library/*.[ch]*" "${ROOT}/settings/*.[ch]*"
    "${ROOT}/plugin/*.[ch]*"
    "${ROOT}/ui/*.[ch]*" "${ROOT}/standin/*.[ch]*" "${ROOT}/tests/*.[ch]*" "${ROOT}/bench/*.[ch]*" "${ROOT}/tools/*.[ch]*")
list(FILTER sources INCLUDE REGEX "\\.(cpp|h)$")
execute_process(COMMAND "${CLANG_FORMAT}" --style=file --dry-run --Werror ${sources}
    WORKING_DIRECTORY "${ROOT}" RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "some files are not formatted; run clang-format -i on them")
endif()
