# Included by ctest after the GoogleTest cases are defined (tests/CMakeLists.txt).
set_tests_properties(DebianPackage.CarriesTheProjectsNameVersionDependenciesAndFiles
                     DebianPackage.InstallsWithDpkgAndItsProgramsRun
                     PROPERTIES TIMEOUT 900)
