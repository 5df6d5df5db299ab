# Fuzz targets for the readers of outside data (tests/fuzz), one vantorel_fuzz_target() line each.
#
# With VANTOREL_FUZZ=ON (clang only; scripts/fuzz configures such a build in build-fuzz/) every
# object is compiled for libFuzzer with AddressSanitizer and UndefinedBehaviorSanitizer, and each
# target is a libFuzzer program; the aggregate target "fuzz_targets" builds them all and
# fuzz_targets.txt in the build folder names them with their seed corpus. Without it, each target
# is built with a small driver that replays its committed corpus, as an ordinary test.
option(VANTOREL_FUZZ "Build the libFuzzer targets (needs clang)" OFF)

if(VANTOREL_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "VANTOREL_FUZZ needs clang: configure with CC=clang CXX=clang++")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
                      -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
  add_custom_target(fuzz_targets)
  file(WRITE ${CMAKE_BINARY_DIR}/fuzz_targets.txt "")
endif()

# vantorel_fuzz_target(NAME SOURCES... LIBS libs... [DEPENDS targets...]): the first source
# defines LLVMFuzzerTestOneInput (others are the code under test, when it is not in a library of
# its own); the seed corpus is corpus/NAME beside it. DEPENDS names what must be built (and
# staged in the device root) before the target runs: plug-ins, bundles, shipped files.
function(vantorel_fuzz_target name)
  cmake_parse_arguments(F "" "" "LIBS;DEPENDS" ${ARGN})
  set(source ${F_UNPARSED_ARGUMENTS})
  set(corpus ${CMAKE_CURRENT_SOURCE_DIR}/corpus/${name})
  if(VANTOREL_FUZZ)
    add_executable(${name} ${source})
    target_link_libraries(${name} PRIVATE ${F_LIBS})
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    add_dependencies(fuzz_targets ${name})
    if(F_DEPENDS)
      add_dependencies(${name} ${F_DEPENDS})
    endif()
    file(APPEND ${CMAKE_BINARY_DIR}/fuzz_targets.txt "${name} ${corpus}\n")
  else()
    add_executable(${name}_replay ${source} ${PROJECT_SOURCE_DIR}/tests/fuzz/replay_main.cpp)
    target_link_libraries(${name}_replay PRIVATE ${F_LIBS})
    if(F_DEPENDS)
      add_dependencies(${name}_replay ${F_DEPENDS})
    endif()
    add_test(NAME ${name}.corpus COMMAND ${name}_replay ${corpus})
  endif()
endfunction()
