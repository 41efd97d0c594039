# Installs the build into a temporary prefix, moves the tree elsewhere, and checks that what is
# installed works there on its own: nothing in it names the build folder, the programs tell their
# version, and orvane-replay plays a session with the installed bundle.
# -DBUILD= -DWORKDIR= -DVERSION= -DSESSION= -DWORKBENCH=0|1 -DPLUGINDIR= -DSANITIZED=ON|OFF
include(${CMAKE_CURRENT_LIST_DIR}/RunStep.cmake)

file(REMOVE_RECURSE ${WORKDIR})
run("cmake --install" ${CMAKE_COMMAND} --install ${BUILD} --prefix ${WORKDIR}/installed --strip)
file(RENAME ${WORKDIR}/installed ${WORKDIR}/moved)
set(tree ${WORKDIR}/moved)

set(expected
  bin/orvane-replay
  ${PLUGINDIR}/Orvane.aip/Orvane.so
  ${PLUGINDIR}/Orvane.aip/Resources/resources.json
  share/applications/org.orvane.Workbench.desktop
  share/metainfo/org.orvane.Workbench.metainfo.xml
  share/icons/hicolor/scalable/apps/org.orvane.Workbench.svg
  share/icons/hicolor/48x48/apps/org.orvane.Workbench.png
  share/man/man1/orvane-replay.1.gz
  share/man/man1/orvane-workbench.1.gz
  share/doc/orvane/copyright)
if(WORKBENCH)
  list(APPEND expected bin/orvane-workbench)
endif()
foreach(file ${expected})
  if(NOT EXISTS ${tree}/${file})
    message(FATAL_ERROR "the installed tree lacks ${file}")
  endif()
endforeach()

# A path into the build, compiled in, would let an installed program work only while the build is there.
# The sanitizers compile in the path of every source they instrument, generated ones in the build
# included, to name them in their reports; such a build is never shipped, so only plain builds are held to this.
if(NOT SANITIZED)
  execute_process(COMMAND grep -rlF ${BUILD}/ ${tree} OUTPUT_VARIABLE naming)
endif()
if(naming)
  message(FATAL_ERROR "installed files name the build folder ${BUILD}:\n${naming}")
endif()

set(programs orvane-replay)
if(WORKBENCH)
  list(APPEND programs orvane-workbench)
endif()
foreach(program ${programs})
  run("${program} --version" ${tree}/bin/${program} --version)
  if(NOT out STREQUAL "${program} ${VERSION}\n")
    message(FATAL_ERROR "${program} --version printed \"${out}\", not \"${program} ${VERSION}\"")
  endif()
endforeach()

# Played from a folder of its own, with no plug-in folder named: the program finds the installed one.
file(MAKE_DIRECTORY ${WORKDIR}/play)
file(COPY ${SESSION} DESTINATION ${WORKDIR}/play)
get_filename_component(session ${SESSION} NAME)
execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=ORVANE_PLUGINS
                        ${tree}/bin/orvane-replay --prefs prefs.json ${session}
  WORKING_DIRECTORY ${WORKDIR}/play RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the installed orvane-replay failed on ${session} (${result}):\n${out}${err}")
endif()
file(READ ${WORKDIR}/play/host-after-start.json host)
string(JSON bundle GET "${host}" plugins 0 bundle)
if(NOT bundle STREQUAL "Orvane" OR NOT EXISTS ${WORKDIR}/play/prefs.json)
  message(FATAL_ERROR "the installed bundle did not run: bundle \"${bundle}\", prefs.json saved: no")
endif()
message(STATUS "installed in ${tree}: the programs work there")
