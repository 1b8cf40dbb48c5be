# quill_version: the generated header QuillVersion.h with the project version.
configure_file(${CMAKE_CURRENT_LIST_DIR}/QuillVersion.h.in ${CMAKE_BINARY_DIR}/generated/QuillVersion.h @ONLY)
add_library(quill_version INTERFACE)
target_include_directories(quill_version INTERFACE ${CMAKE_BINARY_DIR}/generated)
