# Makes the Debian package from the build, lists what it holds and passes it through lintian,
# which must find no error; its warnings and notes are shown in the test's output.
# -DBUILD= -DWORKDIR= -DLINTIAN=
include(${CMAKE_CURRENT_LIST_DIR}/RunStep.cmake)

file(REMOVE_RECURSE ${WORKDIR})
run("cpack" ${CMAKE_COMMAND} -E env --unset=DESTDIR cpack --config ${BUILD}/CPackConfig.cmake -G DEB -B ${WORKDIR})
file(GLOB packages ${WORKDIR}/*.deb)
list(LENGTH packages count)
if(NOT count EQUAL 1)
  message(FATAL_ERROR "cpack made ${count} packages: ${packages}")
endif()
run("dpkg-deb --info" dpkg-deb --info ${packages})
message(STATUS "${packages}:\n${out}${err}")
run("dpkg-deb --contents" dpkg-deb --contents ${packages})
message(STATUS "${out}${err}")
run("lintian" ${LINTIAN} --fail-on error --display-info ${packages})
message(STATUS "lintian:\n${out}${err}")
