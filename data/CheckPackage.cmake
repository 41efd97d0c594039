# Makes the Debian package from the build, lists what it holds and passes it through lintian,
# which must find no error; its warnings and notes are shown in the test's output.
# -DBUILD= -DWORKDIR= -DLINTIAN=
function(run what)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${what} failed (${result}):\n${out}${err}")
  endif()
  set(out "${out}${err}" PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE ${WORKDIR})
run("cpack" ${CMAKE_COMMAND} -E env --unset=DESTDIR cpack --config ${BUILD}/CPackConfig.cmake -G DEB -B ${WORKDIR})
file(GLOB packages ${WORKDIR}/*.deb)
list(LENGTH packages count)
if(NOT count EQUAL 1)
  message(FATAL_ERROR "cpack made ${count} packages: ${packages}")
endif()
run("dpkg-deb --info" dpkg-deb --info ${packages})
message(STATUS "${packages}:\n${out}")
run("dpkg-deb --contents" dpkg-deb --contents ${packages})
message(STATUS "${out}")
run("lintian" ${LINTIAN} --fail-on error --display-info ${packages})
message(STATUS "lintian:\n${out}")
