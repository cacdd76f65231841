# Cross build for 32-bit Windows, the build that is shipped: the ERP's Firebird client
# library is usually 32-bit.
set(TESSORA_PROCESSADOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)

