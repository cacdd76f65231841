# Cross build for 32-bit Windows, the build that is shipped: the ERP's Firebird client
# library is usually 32-bit.
set(TESSORA_PROCESSADOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)

# Large address aware: on 64-bit Windows the 32-bit program may address 4 GB instead of 2 GB,
# room for a run whose listing and documents are large.
string(APPEND CMAKE_EXE_LINKER_FLAGS_INIT " -Wl,--large-address-aware")
