# Translations of the windows. translations/orvalis.ts is the template a translator starts
# from; translations/orvalis_LANG.ts are the translations. While building, lupdate brings
# all of them up to date with the texts of every source of the two libraries (whatever
# folder added them), and lrelease turns each translation into translations/orvalis_LANG.qm
# beside the built program. The .qm files are installed into share/orvalis/translations.
set(orvalis_ts_dir ${PROJECT_SOURCE_DIR}/translations)
set(orvalis_ts_template ${orvalis_ts_dir}/orvalis.ts)
file(GLOB orvalis_ts_files CONFIGURE_DEPENDS ${orvalis_ts_dir}/orvalis_*.ts)

set(orvalis_tr_sources)
foreach(library orvalis_logic orvalis_gui)
    get_target_property(library_sources ${library} SOURCES)
    foreach(source IN LISTS library_sources)
        if(source MATCHES "\\.(cpp|h)$")
            cmake_path(ABSOLUTE_PATH source BASE_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR})
            list(APPEND orvalis_tr_sources ${source})
        endif()
    endforeach()
endforeach()
list(REMOVE_DUPLICATES orvalis_tr_sources)
list(SORT orvalis_tr_sources)

set(orvalis_qm_dir ${CMAKE_CURRENT_BINARY_DIR}/translations)
set(orvalis_lupdate_stamp ${CMAKE_CURRENT_BINARY_DIR}/translations.stamp)
# The list of sources lupdate reads; the test "translations" reads it too.
string(REPLACE ";" "\n" orvalis_tr_list "${orvalis_tr_sources}")
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/translations.lst "${orvalis_tr_list}\n")
if(ORVALIS_UPDATE_TRANSLATIONS)
    # Line numbers are left out of the files so that a change elsewhere in a source does
    # not touch them.
    add_custom_command(OUTPUT ${orvalis_lupdate_stamp}
        COMMAND Qt6::lupdate -silent -locations none -no-obsolete -I ${CMAKE_CURRENT_SOURCE_DIR}
            @${CMAKE_CURRENT_BINARY_DIR}/translations.lst
            -ts ${orvalis_ts_template} ${orvalis_ts_files}
        COMMAND ${CMAKE_COMMAND} -E touch ${orvalis_lupdate_stamp}
        DEPENDS ${orvalis_tr_sources} ${CMAKE_CURRENT_BINARY_DIR}/translations.lst
        COMMENT "Updating the translation files"
        VERBATIM)
else()
    add_custom_command(OUTPUT ${orvalis_lupdate_stamp}
        COMMAND ${CMAKE_COMMAND} -E touch ${orvalis_lupdate_stamp})
endif()

set(orvalis_qm_files)
foreach(ts IN LISTS orvalis_ts_files)
    get_filename_component(name ${ts} NAME_WLE)
    set(qm ${orvalis_qm_dir}/${name}.qm)
    add_custom_command(OUTPUT ${qm}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${orvalis_qm_dir}
        COMMAND Qt6::lrelease -silent ${ts} -qm ${qm}
        DEPENDS ${ts} ${orvalis_lupdate_stamp}
        VERBATIM)
    list(APPEND orvalis_qm_files ${qm})
endforeach()
add_custom_target(orvalis_translations ALL DEPENDS ${orvalis_lupdate_stamp} ${orvalis_qm_files})
add_dependencies(orvalis orvalis_translations)

install(FILES ${orvalis_qm_files} DESTINATION ${CMAKE_INSTALL_DATADIR}/orvalis/translations)
