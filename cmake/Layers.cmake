# Each program's sources lie in folders that form layers, listed from the
# bottom up. A folder's files may include headers of their own folder, of the
# folders listed before it, and of common/ (the project's bottom layer, shared
# by every program); never of a folder listed after it. The test "layering"
# checks this rule on every build's sources.
#
# add_layered_program(NAME <program> SUFFIX <gl|ui> LAYERS <folder>...
#                     [LIBS <libraries>] [TOOLKIT_LIBS <libraries>])
# Plain-logic sources of the folders form the library <program>_core, which
# unit tests link without a display; files named *_<SUFFIX>.cpp, the thin
# toolkit layer over that logic, form <program>_<SUFFIX>; app/main.cpp is the
# entry of the program <program>.
function(add_layered_program)
    cmake_parse_arguments(ARG "" "NAME;SUFFIX" "LAYERS;LIBS;TOOLKIT_LIBS" ${ARGN})
    set(core)
    set(toolkit)
    foreach(layer ${ARG_LAYERS})
        file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${layer}/*.cpp)
        foreach(source ${sources})
            if(source MATCHES "/app/main\\.cpp$")
                continue()
            elseif(source MATCHES "_${ARG_SUFFIX}\\.cpp$")
                list(APPEND toolkit ${source})
            else()
                list(APPEND core ${source})
            endif()
        endforeach()
    endforeach()

    add_library(${ARG_NAME}_core STATIC ${core})
    target_include_directories(${ARG_NAME}_core PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
    target_link_libraries(${ARG_NAME}_core PUBLIC common ${ARG_LIBS})

    add_library(${ARG_NAME}_${ARG_SUFFIX} STATIC ${toolkit})
    target_link_libraries(${ARG_NAME}_${ARG_SUFFIX} PUBLIC ${ARG_NAME}_core ${ARG_TOOLKIT_LIBS})

    add_executable(${ARG_NAME} ${CMAKE_CURRENT_SOURCE_DIR}/app/main.cpp)
    target_link_libraries(${ARG_NAME} PRIVATE ${ARG_NAME}_${ARG_SUFFIX})

    string(REPLACE ";" ":" layers "${ARG_LAYERS}")
    set_property(GLOBAL APPEND PROPERTY LAYERED_FOLDERS "${CMAKE_CURRENT_SOURCE_DIR}|${layers}")
endfunction()
