# Icon, application manifest and version resource of both programs. Each program gets an object
# library holding its compiled resource script; link it into the program's executable:
#   korvel_resources      -> Korvel
#   ferrundel_resources   -> Ferrundel
# The manifests name the build's architecture for the common controls: x86 or amd64.
enable_language(RC)
if(CMAKE_SYSTEM_PROCESSOR MATCHES "64")
  set(KORVEL_MANIFEST_ARCH amd64)
else()
  set(KORVEL_MANIFEST_ARCH x86)
endif()

function(korvel_program_resources target name description icon manifest_template)
  set(dir ${CMAKE_CURRENT_BINARY_DIR}/resources)
  set(KORVEL_RC_NAME ${name})
  set(KORVEL_RC_DESCRIPTION ${description})
  set(KORVEL_RC_ICON ${CMAKE_CURRENT_LIST_DIR}/${icon})
  set(KORVEL_RC_MANIFEST ${dir}/${name}.manifest)
  configure_file(${CMAKE_CURRENT_LIST_DIR}/${manifest_template} ${KORVEL_RC_MANIFEST} @ONLY)
  configure_file(${CMAKE_CURRENT_LIST_DIR}/program.rc.in ${dir}/${name}.rc @ONLY)
  add_library(${target} OBJECT ${dir}/${name}.rc)
  set_source_files_properties(${dir}/${name}.rc PROPERTIES OBJECT_DEPENDS
    "${KORVEL_RC_MANIFEST};${KORVEL_RC_ICON}")
endfunction()

korvel_program_resources(korvel_resources Korvel "Korvel Paketinstallation" korvel.ico korvel.manifest.in)
korvel_program_resources(ferrundel_resources Ferrundel "Ferrundel Katalogwerkzeug" ferrundel.ico ferrundel.manifest.in)
