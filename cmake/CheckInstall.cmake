# Installs the build into a fresh folder and checks that the program, the tool, the help pages
# and the desktop files land where the desktop and the program look for them.
file(REMOVE_RECURSE ${ROOT})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${ROOT}
                RESULT_VARIABLE installed OUTPUT_QUIET)
if(NOT installed EQUAL 0)
    message(FATAL_ERROR "cmake --install failed")
endif()
file(GLOB_RECURSE programs ${ROOT}/lib*/dividora/dividora)
list(LENGTH programs count)
if(NOT count EQUAL 1)
    message(FATAL_ERROR "the program is not in lib/.../dividora: ${programs}")
endif()
get_filename_component(programFolder ${programs} DIRECTORY)
foreach(expected
        ${programFolder}/GuideKPX/index.htm
        ${programFolder}/GuideKPX/howto/howtoadd.htm
        ${programFolder}/GuideKPX/howto/howtoupdate.htm
        ${ROOT}/bin/dividora
        ${ROOT}/bin/dividora-cli
        ${ROOT}/share/applications/dividora.desktop
        ${ROOT}/share/mime/packages/dividora-kpx.xml
        ${ROOT}/share/icons/hicolor/scalable/apps/dividora.svg)
    if(NOT EXISTS ${expected})
        message(FATAL_ERROR "not installed: ${expected}")
    endif()
endforeach()
# The uninstall switch starts no window: the program runs and ends at once.
execute_process(COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
                        ${ROOT}/bin/dividora /Uninstall
                RESULT_VARIABLE started OUTPUT_VARIABLE why ERROR_VARIABLE why)
if(NOT started EQUAL 0)
    message(FATAL_ERROR "bin/dividora does not start the program in its folder: ${why}")
endif()
find_program(VALIDATE desktop-file-validate)
if(VALIDATE)
    execute_process(COMMAND ${VALIDATE} ${ROOT}/share/applications/dividora.desktop
                    RESULT_VARIABLE valid OUTPUT_VARIABLE why ERROR_VARIABLE why)
    if(NOT valid EQUAL 0)
        message(FATAL_ERROR "the desktop file does not validate: ${why}")
    endif()
endif()
file(REMOVE_RECURSE ${ROOT})
