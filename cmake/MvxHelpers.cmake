# Shared build helpers: staging data into the program home, tests and benchmarks.

# mvx_stage(NAME <unique> DEST <subdir of home, "." for the top> FILES <files...>)
# Copies the files into the program home at build time (only when changed).
function(mvx_stage)
  cmake_parse_arguments(S "" "NAME;DEST" "FILES" ${ARGN})
  set(outs)
  foreach(f IN LISTS S_FILES)
    get_filename_component(abs ${f} ABSOLUTE)
    get_filename_component(base ${f} NAME)
    set(out ${MVX_HOME}/${S_DEST}/${base})
    add_custom_command(OUTPUT ${out}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${MVX_HOME}/${S_DEST}
      COMMAND ${CMAKE_COMMAND} -E copy_if_different ${abs} ${out}
      DEPENDS ${abs} VERBATIM)
    list(APPEND outs ${out})
  endforeach()
  add_custom_target(stage_${S_NAME} ALL DEPENDS ${outs})
endfunction()

# mvx_stage_dir(NAME <unique> SRC <folder> DEST <subdir>): stages a whole folder tree.
function(mvx_stage_dir)
  cmake_parse_arguments(S "" "NAME;SRC;DEST" "" ${ARGN})
  get_filename_component(src ${S_SRC} ABSOLUTE)
  file(GLOB_RECURSE files CONFIGURE_DEPENDS ${src}/*)
  set(outs)
  foreach(f IN LISTS files)
    file(RELATIVE_PATH rel ${src} ${f})
    set(out ${MVX_HOME}/${S_DEST}/${rel})
    get_filename_component(outdir ${out} DIRECTORY)
    add_custom_command(OUTPUT ${out}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${outdir}
      COMMAND ${CMAKE_COMMAND} -E copy_if_different ${f} ${out}
      DEPENDS ${f} VERBATIM)
    list(APPEND outs ${out})
  endforeach()
  add_custom_target(stage_${S_NAME} ALL DEPENDS ${outs})
endfunction()

# Programs and tools that run from the program home.
# They are also what `cmake --install` puts into PREFIX/bin.
function(mvx_home_executable target)
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${MVX_HOME})
  install(TARGETS ${target} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  set_property(GLOBAL APPEND PROPERTY MVX_HOME_EXECUTABLES ${target})
endfunction()

# mvx_add_test(<name> SOURCES <files...> LIBS <targets...> [TIMEOUT s] [LABELS l...])
# One executable per test file, run headless by CTest with a private settings
# folder and program data folder, SDL's dummy audio driver and the offscreen platform.
function(mvx_add_test name)
  cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE Qt6::Test ${T_LIBS})
  target_compile_definitions(${name} PRIVATE
    MVX_HOME="${MVX_HOME}"
    MVX_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
    MVX_TEST_DATA="${CMAKE_CURRENT_SOURCE_DIR}/data")
  add_test(NAME ${name} COMMAND ${name})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  set(env
    "QT_QPA_PLATFORM=offscreen"
    "SDL_AUDIODRIVER=dummy"
    "QTWEBENGINE_DISABLE_SANDBOX=1"
    "QTWEBENGINE_CHROMIUM_FLAGS=--no-sandbox --disable-gpu --disable-background-networking --disable-component-update"
    "XDG_CONFIG_HOME=${CMAKE_BINARY_DIR}/testhome/${name}/config"
    "XDG_DATA_HOME=${CMAKE_BINARY_DIR}/testhome/${name}/data"
    "XDG_RUNTIME_DIR=${CMAKE_BINARY_DIR}/testhome/${name}/run"
    "MVX_TEST_TMP=${CMAKE_BINARY_DIR}/testhome/${name}/tmp")
  file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/testhome/${name}/config
       ${CMAKE_BINARY_DIR}/testhome/${name}/data ${CMAKE_BINARY_DIR}/testhome/${name}/tmp)
  file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/testhome/${name}/run)
  file(CHMOD ${CMAKE_BINARY_DIR}/testhome/${name}/run DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "${env}" TIMEOUT ${T_TIMEOUT}
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
  if(T_LABELS)
    set_tests_properties(${name} PROPERTIES LABELS "${T_LABELS}")
  endif()
endfunction()

# mvx_add_bench(<name> SOURCES <files...> LIBS <targets...>): a benchmark program that
# prints "figure: NAME VALUE UNIT" lines; bench/run runs every one of them.
function(mvx_add_bench name)
  cmake_parse_arguments(B "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${B_SOURCES})
  target_link_libraries(${name} PRIVATE ${B_LIBS})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/bench)
  target_compile_definitions(${name} PRIVATE MVX_HOME="${MVX_HOME}" MVX_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/benchbin)
endfunction()
