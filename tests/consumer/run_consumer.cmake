# Installs the built library into a scratch prefix, then configures, builds
# and runs a small program that finds it with find_package(Lumora) and checks
# the pkg-config file as well.
file(REMOVE_RECURSE ${WORK_DIR})
set(prefix ${WORK_DIR}/prefix)

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "failed: ${ARGN}\n${out}\n${err}")
  endif()
  set(last_output "${out}" PARENT_SCOPE)
endfunction()

run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})
run(${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${WORK_DIR}/build -G ${GENERATOR}
    -D CMAKE_PREFIX_PATH=${prefix} -D CMAKE_BUILD_TYPE=Release)
run(${CMAKE_COMMAND} --build ${WORK_DIR}/build)
run(${WORK_DIR}/build/lumora_consumer)
message(STATUS "${last_output}")
if(NOT last_output MATCHES "Lumora 6.7.1.0")
  message(FATAL_ERROR "unexpected consumer output: ${last_output}")
endif()

file(GLOB_RECURSE pc_files ${prefix}/*/lumora.pc)
if(NOT pc_files)
  message(FATAL_ERROR "lumora.pc was not installed")
endif()
list(GET pc_files 0 pc_file)
file(READ ${pc_file} pc_text)
if(NOT pc_text MATCHES "-llumora")
  message(FATAL_ERROR "lumora.pc does not name the library: ${pc_text}")
endif()
