# The release package of this build's architecture: Halvex.exe, Setup.exe and a read-me for the
# person installing, zipped as package/halvex-<version>-<x86|x64>.zip with its SHA-256 sum beside
# it. cpack packs what is built; it does not build the tests first.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(HALVEX_ARCH x64)
    set(HALVEX_WINDOWS 64-bit)
else()
    set(HALVEX_ARCH x86)
    set(HALVEX_WINDOWS 32-bit)
endif()
set(HALVEX_PACKAGE halvex-${PROJECT_VERSION}-${HALVEX_ARCH})

# Windows line ends, for Notepad of any age.
configure_file(${CMAKE_CURRENT_LIST_DIR}/package-readme.txt.in
    ${CMAKE_BINARY_DIR}/package-readme/README.txt @ONLY NEWLINE_STYLE CRLF)

install(TARGETS Halvex Setup RUNTIME DESTINATION .)
install(FILES ${CMAKE_BINARY_DIR}/package-readme/README.txt DESTINATION .)
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_FILE_NAME ${HALVEX_PACKAGE})
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_PACKAGE_CHECKSUM SHA256)
include(CPack)
