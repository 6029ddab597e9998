# orbin.exe: GUI subsystem, runtime linked statically, nothing beside it but
# system DLLs.
set(ORBIN_VERSION_COMMA "${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},${PROJECT_VERSION_PATCH},0")
configure_file(${CMAKE_SOURCE_DIR}/res/version.h.in ${CMAKE_BINARY_DIR}/generated/version.h @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/res/orbin.manifest.in ${CMAKE_BINARY_DIR}/generated/orbin.manifest @ONLY)
set(windows_definitions UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)

# The platform layer on its own, shared with the test probes.
set(platform_win32 ${ORBIN_WIN32_SOURCES})
list(FILTER platform_win32 INCLUDE REGEX "/src/platform/")
set(program_win32 ${ORBIN_WIN32_SOURCES})
list(FILTER program_win32 EXCLUDE REGEX "/src/platform/")
add_library(orbin_win32_platform STATIC ${platform_win32})
target_include_directories(orbin_win32_platform PUBLIC ${CMAKE_SOURCE_DIR}/src)
target_compile_definitions(orbin_win32_platform PUBLIC ${windows_definitions})
target_link_libraries(orbin_win32_platform PUBLIC orbin_platform gdi32)
# The printer library is bound at first use (system_libraries_win32.h), so
# that only jobs that print pay for loading it: CMake's default libraries
# lose it, and a direct call fails to link.
foreach(language C CXX)
  string(REPLACE "-lwinspool" "" CMAKE_${language}_STANDARD_LIBRARIES
         "${CMAKE_${language}_STANDARD_LIBRARIES}")
endforeach()

add_executable(orbin WIN32 ${program_win32} ${CMAKE_SOURCE_DIR}/res/orbin.rc)
# The resource compiler's dependencies are not scanned: a changed manifest
# or version must still build the resources again.
set_source_files_properties(${CMAKE_SOURCE_DIR}/res/orbin.rc PROPERTIES OBJECT_DEPENDS
    "${CMAKE_BINARY_DIR}/generated/orbin.manifest;${CMAKE_BINARY_DIR}/generated/version.h")
target_include_directories(orbin PRIVATE ${CMAKE_SOURCE_DIR}/res ${CMAKE_BINARY_DIR}/generated)
target_link_options(orbin PRIVATE -static -municode -mwindows $<$<CONFIG:Release>:-s>)
target_link_libraries(orbin PRIVATE ${ORBIN_LIBRARIES} orbin_win32_platform user32)
set_target_properties(orbin PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

# The start-up benchmark (tools/bench): its timer, run under Wine, and the
# programs orbin.exe is measured against: an empty program importing
# kernel32 only, one importing user32 and gdi32 (what every windowed
# program loads), and a window with one edit box, built like orbin.exe (link
# options and manifest, whose common controls the edit box then uses) and,
# for reference, plain.
foreach(baseline empty_program empty_gui_program)
  add_executable(${baseline} WIN32 ${CMAKE_SOURCE_DIR}/tools/bench/${baseline}_win32.c)
  target_link_options(${baseline} PRIVATE -static -mwindows $<$<CONFIG:Release>:-s>)
endforeach()
target_link_libraries(empty_gui_program PRIVATE gdi32 user32)
add_executable(edit_window_program WIN32 ${CMAKE_SOURCE_DIR}/tools/bench/edit_window_program_win32.c
                                         ${CMAKE_SOURCE_DIR}/tools/bench/edit_window_program.rc)
target_include_directories(edit_window_program PRIVATE ${CMAKE_BINARY_DIR}/generated)
set_source_files_properties(${CMAKE_SOURCE_DIR}/tools/bench/edit_window_program.rc PROPERTIES
                            OBJECT_DEPENDS ${CMAKE_BINARY_DIR}/generated/orbin.manifest)
add_executable(plain_edit_window_program WIN32
               ${CMAKE_SOURCE_DIR}/tools/bench/edit_window_program_win32.c)
foreach(baseline edit_window_program plain_edit_window_program)
  target_link_options(${baseline} PRIVATE -static -municode -mwindows $<$<CONFIG:Release>:-s>)
  target_link_libraries(${baseline} PRIVATE user32)
endforeach()
# The floor of the printing jobs: the same pages with the same GDI calls.
add_executable(print_floor WIN32 ${CMAKE_SOURCE_DIR}/tools/bench/print_floor_win32.c)
target_link_options(print_floor PRIVATE -static -municode -mwindows $<$<CONFIG:Release>:-s>)
target_link_libraries(print_floor PRIVATE gdi32 user32 winspool)
add_executable(startup_timer ${CMAKE_SOURCE_DIR}/tools/bench/startup_timer_win32.c)
target_link_options(startup_timer PRIVATE -static -municode)
set_target_properties(empty_program empty_gui_program edit_window_program plain_edit_window_program
                      print_floor startup_timer PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

# Probes the end-to-end tests use to reach the platform layer directly.
file(GLOB probe_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/probes/*_win32.cpp)
foreach(source ${probe_sources})
  get_filename_component(name ${source} NAME_WE)
  string(REGEX REPLACE "_win32$" "" name ${name})
  add_executable(${name} ${source})
  target_link_libraries(${name} PRIVATE orbin_startup orbin_win32_platform)
  target_link_options(${name} PRIVATE -static -municode)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/probes)
endforeach()

# ---------------------------------------------------------------------------
# Simulated card reader library (tools/simreader): a "cshis.dll" for the
# end-to-end tests and for trying the reader jobs without a reader. Built
# into <build>/simreader/, apart from orbin.exe; never packaged as a
# practice's library. --kill-at gives the undecorated __stdcall export names
# that 32-bit callers bind by name.
add_library(simreader SHARED ${CMAKE_SOURCE_DIR}/tools/simreader/cshis_sim_win32.c)
set_target_properties(simreader PROPERTIES OUTPUT_NAME cshis PREFIX ""
                      RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/simreader)
target_compile_definitions(simreader PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN)
target_link_options(simreader PRIVATE -static -Wl,--kill-at $<$<CONFIG:Release>:-s>)
