# The HTML help: copied from res/help/ into help/ beside the built program at build time
# (so a program run from the build folder finds it) and installed into the data folder.
file(GLOB orvalis_help_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/res/help/*)
set(orvalis_help_dir ${CMAKE_CURRENT_BINARY_DIR}/help)
set(orvalis_help_outputs)
foreach(source IN LISTS orvalis_help_sources)
    get_filename_component(name ${source} NAME)
    add_custom_command(OUTPUT ${orvalis_help_dir}/${name}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${orvalis_help_dir}
        COMMAND ${CMAKE_COMMAND} -E copy_if_different ${source} ${orvalis_help_dir}/${name}
        DEPENDS ${source}
        COMMENT "Copying help/${name}"
        VERBATIM)
    list(APPEND orvalis_help_outputs ${orvalis_help_dir}/${name})
endforeach()
add_custom_target(orvalis_help DEPENDS ${orvalis_help_outputs})
add_dependencies(orvalis orvalis_help)

install(DIRECTORY ${PROJECT_SOURCE_DIR}/res/help/ DESTINATION ${CMAKE_INSTALL_DATADIR}/orvalis/help)
