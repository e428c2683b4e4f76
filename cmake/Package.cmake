# The release package of this build's architecture: Halvex.exe, Setup.exe, a read-me for the
# person installing and the start-up script for many computers (Startup.cmd), zipped as
# package/halvex-<version>-<x86|x64>.zip with its SHA-256 sum beside it, dated by the commit
# (cmake/pack-zip.py). The test Release.Pack packs what is built; it does not build the programs
# first.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(HALVEX_ARCH x64)
    set(HALVEX_WINDOWS 64-bit)
else()
    set(HALVEX_ARCH x86)
    set(HALVEX_WINDOWS 32-bit)
endif()
set(HALVEX_PACKAGE halvex-${PROJECT_VERSION}-${HALVEX_ARCH})

# Windows line ends, for Notepad of any age and for cmd, which reads the script.
configure_file(${CMAKE_CURRENT_LIST_DIR}/package-readme.txt.in
    ${CMAKE_BINARY_DIR}/package-readme/README.txt @ONLY NEWLINE_STYLE CRLF)
set(HALVEX_STARTUP_SCRIPT ${CMAKE_BINARY_DIR}/package-script/Startup.cmd)
configure_file(${CMAKE_CURRENT_LIST_DIR}/Startup.cmd ${HALVEX_STARTUP_SCRIPT} @ONLY
    NEWLINE_STYLE CRLF)

find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(HALVEX_PACK_COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/pack-zip.py
    ${CMAKE_BINARY_DIR}/package/${HALVEX_PACKAGE}.zip ${HALVEX_SOURCE_DATE_USED}
    $<TARGET_FILE:Halvex> ${CMAKE_BINARY_DIR}/package-readme/README.txt $<TARGET_FILE:Setup>
    ${HALVEX_STARTUP_SCRIPT})
