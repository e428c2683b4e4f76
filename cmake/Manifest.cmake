# Each program's application manifest, resource type 24 (RT_MANIFEST) id 1: on Windows Vista and
# later it asks for administrator rights (a double-clicked program gets none otherwise) and names
# the Windows the program supports, in the form that Windows XP's and Server 2003's loaders
# accept (docs/manifest.md says which and why). One template, program.manifest.in, serves both
# programs; its assemblyIdentity names the program and this build's architecture.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(HALVEX_MANIFEST_ARCH amd64)
else()
    set(HALVEX_MANIFEST_ARCH x86)
endif()

# Embeds the template's manifest for |target| into it. The manifest goes to manifest/ of the
# current build folder, not beside the program, where a loader would take a file named
# <program>.exe.manifest instead. Language neutral: the platform's resource lookup tries neutral
# first, whatever language it asks for.
function(halvex_embed_manifest target)
    set(HALVEX_MANIFEST_PROGRAM ${target})
    set(manifest ${CMAKE_CURRENT_BINARY_DIR}/manifest/${target}.manifest)
    configure_file(${CMAKE_SOURCE_DIR}/cmake/program.manifest.in ${manifest} @ONLY)
    set(rc ${CMAKE_CURRENT_BINARY_DIR}/manifest/${target}.rc)
    file(CONFIGURE OUTPUT ${rc} CONTENT "LANGUAGE 0, 0\n1 24 \"${manifest}\"\n")
    target_sources(${target} PRIVATE ${rc})
    set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS ${manifest})
endfunction()
