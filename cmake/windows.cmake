# orbin.exe: GUI subsystem, runtime linked statically, nothing beside it but
# system DLLs.
set(ORBIN_VERSION_COMMA "${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},${PROJECT_VERSION_PATCH},0")
configure_file(${CMAKE_SOURCE_DIR}/res/version.h.in ${CMAKE_BINARY_DIR}/generated/version.h @ONLY)

add_executable(orbin WIN32 ${ORBIN_WIN32_SOURCES} ${CMAKE_SOURCE_DIR}/res/orbin.rc)
target_include_directories(orbin PRIVATE ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/res
                                         ${CMAKE_BINARY_DIR}/generated)
target_compile_definitions(orbin PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
                                         _WIN32_WINNT=0x0601)

target_link_options(orbin PRIVATE -static -municode -mwindows)
target_link_libraries(orbin PRIVATE ${ORBIN_LIBRARIES} gdi32 winspool comctl32 comdlg32 shell32 user32
                                    imm32)
set_target_properties(orbin PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

# An empty Win32 program of the same build, the baseline of the start-up
# benchmark.
add_executable(empty_program WIN32 ${CMAKE_SOURCE_DIR}/tools/bench/empty_program_win32.c)
target_link_options(empty_program PRIVATE -static -mwindows)
set_target_properties(empty_program PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
