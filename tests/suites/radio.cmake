# --- short-range navigation (RSBN) and its beacon file --------------------------
# The system's steps and the parser alone: no host, no gauges.
set(gau_rsbn_sources ${PROJECT_SOURCE_DIR}/radio/rsbn.cpp ${PROJECT_SOURCE_DIR}/radio/beacon_file.cpp
  ${PROJECT_SOURCE_DIR}/frame/systems_state.cpp)
gau_unit_test(rsbn_tests
  ${PROJECT_SOURCE_DIR}/tests/radio/rsbn_test.cpp
  ${PROJECT_SOURCE_DIR}/tests/radio/beacon_file_test.cpp
  ${gau_rsbn_sources})

# The gauges driven through their records, with a simulator folder of the
# test's own (the executable exports gaugehost_sim_root, as the host does).
gau_unit_test(rsbn_gauge_tests
  ${PROJECT_SOURCE_DIR}/tests/radio/rsbn_gauges_test.cpp
  ${PROJECT_SOURCE_DIR}/tests/platform/sim_root_hook.cpp
  ${PROJECT_SOURCE_DIR}/radio/rsbn_gauges.cpp
  ${gau_rsbn_sources})
set_target_properties(rsbn_gauge_tests PROPERTIES ENABLE_EXPORTS ON)

# Azimuth and range against the WGS84 geodesics of GeographicLib.
find_package(PkgConfig QUIET)
if(PkgConfig_FOUND)
  pkg_check_modules(GAU_GEOGRAPHICLIB QUIET IMPORTED_TARGET geographiclib)
endif()
if(GAU_GEOGRAPHICLIB_FOUND)
  gau_unit_test(rsbn_geodesic_tests ${PROJECT_SOURCE_DIR}/tests/radio/rsbn_geodesic_test.cpp
    ${gau_rsbn_sources})
  target_link_libraries(rsbn_geodesic_tests PRIVATE PkgConfig::GAU_GEOGRAPHICLIB)
else()
  message(WARNING "GeographicLib not found (scripts/bootstrap installs libgeographiclib-dev): "
    "rsbn_geodesic_tests is not built")
endif()
