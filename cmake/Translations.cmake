# The windows' English: translations/velmora_<lang>.ts are kept in the repository and updated
# from the sources with `cmake --build <build> --target update_translations` (lupdate); every
# build turns them into <build>/data/translations/velmora_<lang>.qm (lrelease), which the
# program loads from its data folder.

if(VELMORA_GUI)
    find_package(Qt6 REQUIRED COMPONENTS LinguistTools)
    file(GLOB VELMORA_TS_FILES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/translations/*.ts)
    if(VELMORA_TS_FILES)
        set_source_files_properties(${VELMORA_TS_FILES} PROPERTIES
            OUTPUT_LOCATION ${CMAKE_CURRENT_BINARY_DIR}/data/translations)
        # No source locations in the .ts files, so moving code does not change them.
        qt_add_lupdate(velmora_gui TS_FILES ${VELMORA_TS_FILES}
            SOURCES ${VELMORA_GUI_SOURCES} ${CMAKE_CURRENT_SOURCE_DIR}/app/main.cpp
                # The effects' list names, marked in the core.
                ${CMAKE_CURRENT_SOURCE_DIR}/effects/EffectTable.cpp
            INCLUDE_DIRECTORIES ${CMAKE_CURRENT_SOURCE_DIR}
            OPTIONS -no-obsolete -locations none)
        # Every program and window test that links the windows finds the translation built.
        qt_add_lrelease(velmora_gui TS_FILES ${VELMORA_TS_FILES} OPTIONS -silent)
    endif()
endif()
