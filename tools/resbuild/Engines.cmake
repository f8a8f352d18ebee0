# The method's code tables for fcitx5, IBus and Rime: engexport writes the
# sources from resources/tables/base.txt, and each engine's own tool compiles
# them when it is installed (scripts/setup.sh installs all three).
add_executable(engexport engexport.cpp EngineTables.cpp TextSources.cpp)
target_link_libraries(engexport PRIVATE quorvel_core)

set(QUORVEL_ENGINE_DIR ${CMAKE_BINARY_DIR}/engines CACHE INTERNAL "")
set(QUORVEL_METHOD_ID lanchuan CACHE INTERNAL "")
set(_dir ${QUORVEL_ENGINE_DIR})
set(_id ${QUORVEL_METHOD_ID})
set(_sources
  ${_dir}/fcitx5/${_id}.txt ${_dir}/fcitx5/${_id}.conf ${_dir}/ibus/${_id}.txt
  ${_dir}/rime/${_id}.schema.yaml ${_dir}/rime/${_id}.dict.yaml ${_dir}/rime/default.custom.yaml)
add_custom_command(
  OUTPUT ${_sources}
  COMMAND engexport --tables ${PROJECT_SOURCE_DIR}/resources/tables --out ${_dir}
  DEPENDS engexport ${PROJECT_SOURCE_DIR}/resources/tables/base.txt
  COMMENT "Writing the code tables for fcitx5, IBus and Rime"
  VERBATIM)
set(_built ${_sources})

find_program(QUORVEL_LIBIME_TABLEDICT libime_tabledict)
if(QUORVEL_LIBIME_TABLEDICT)
  add_custom_command(
    OUTPUT ${_dir}/fcitx5/${_id}.main.dict
    COMMAND ${QUORVEL_LIBIME_TABLEDICT} ${_dir}/fcitx5/${_id}.txt ${_dir}/fcitx5/${_id}.main.dict
    DEPENDS ${_dir}/fcitx5/${_id}.txt
    COMMENT "Compiling the fcitx5 table dictionary"
    VERBATIM)
  list(APPEND _built ${_dir}/fcitx5/${_id}.main.dict)
else()
  message(STATUS "libime_tabledict not found (package libime-bin): no fcitx5 dictionary")
endif()

find_program(QUORVEL_IBUS_TABLE_CREATEDB ibus-table-createdb)
if(QUORVEL_IBUS_TABLE_CREATEDB)
  add_custom_command(
    OUTPUT ${_dir}/ibus/${_id}.db
    COMMAND ${QUORVEL_IBUS_TABLE_CREATEDB} -n ${_dir}/ibus/${_id}.db -s ${_dir}/ibus/${_id}.txt
    DEPENDS ${_dir}/ibus/${_id}.txt
    COMMENT "Compiling the ibus-table database"
    VERBATIM)
  list(APPEND _built ${_dir}/ibus/${_id}.db)
else()
  message(STATUS "ibus-table-createdb not found (package ibus-table): no IBus database")
endif()

# Rime deploys only the schemas a schema list names; a scratch user folder
# holds that list so the shipped files need no default.yaml of their own.
find_program(QUORVEL_RIME_DEPLOYER rime_deployer)
if(QUORVEL_RIME_DEPLOYER)
  set(_rime_bins ${_dir}/rime/build/${_id}.prism.bin ${_dir}/rime/build/${_id}.table.bin
                 ${_dir}/rime/build/${_id}.reverse.bin)
  file(WRITE ${_dir}/rime/schema_list.yaml "schema_list:\n  - schema: ${_id}\n")
  add_custom_command(
    OUTPUT ${_rime_bins}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${_dir}/rime/deploy ${_dir}/rime/build
    COMMAND ${CMAKE_COMMAND} -E make_directory ${_dir}/rime/deploy ${_dir}/rime/build
    COMMAND ${CMAKE_COMMAND} -E copy ${_dir}/rime/schema_list.yaml ${_dir}/rime/deploy/default.yaml
    COMMAND ${CMAKE_COMMAND} -E env GLOG_minloglevel=1
            ${QUORVEL_RIME_DEPLOYER} --build ${_dir}/rime/deploy ${_dir}/rime ${_dir}/rime/build
    COMMAND ${CMAKE_COMMAND} -E rm -f ${_dir}/rime/build/default.yaml
    DEPENDS ${_dir}/rime/${_id}.schema.yaml ${_dir}/rime/${_id}.dict.yaml
    COMMENT "Deploying the Rime schema"
    VERBATIM)
  list(APPEND _built ${_rime_bins})
else()
  message(STATUS "rime_deployer not found (package librime-bin): the Rime schema is not compiled")
endif()

add_custom_target(quorvel_engine_tables ALL DEPENDS ${_built})

# cmake --install --component engines: each compiled file where its engine
# looks, and the program's icon under the name the engines ask for.
set(_data ${CMAKE_INSTALL_DATADIR})
install(FILES ${_dir}/fcitx5/${_id}.main.dict DESTINATION ${_data}/fcitx5/table
  COMPONENT engines OPTIONAL)
install(FILES ${_dir}/fcitx5/${_id}.conf DESTINATION ${_data}/fcitx5/inputmethod
  COMPONENT engines)
install(FILES ${_dir}/ibus/${_id}.db DESTINATION ${_data}/ibus-table/tables
  COMPONENT engines OPTIONAL)
install(FILES ${CMAKE_BINARY_DIR}/quorvel.png DESTINATION ${_data}/ibus-table/icons
  RENAME ${_id}.png COMPONENT engines OPTIONAL)
install(FILES ${CMAKE_BINARY_DIR}/quorvel.png DESTINATION ${_data}/icons/hicolor/256x256/apps
  RENAME quorvel-${_id}.png COMPONENT engines OPTIONAL)
install(FILES ${_dir}/rime/${_id}.schema.yaml ${_dir}/rime/${_id}.dict.yaml
  DESTINATION ${_data}/rime-data COMPONENT engines)
install(FILES ${_dir}/rime/default.custom.yaml
  DESTINATION ${_data}/doc/quorvel-engines/examples COMPONENT engines)
if(QUORVEL_RIME_DEPLOYER)
  install(FILES ${_rime_bins} DESTINATION ${_data}/rime-data/build COMPONENT engines)
endif()
