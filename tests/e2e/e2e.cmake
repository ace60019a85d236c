# End-to-end tests: the x86_64 VornNotes.exe under wine64, each test class on its own X display
# and in its own copy of a Wine prefix that the first test below prepares once per run.
set(VORN_E2E_DIR ${CMAKE_SOURCE_DIR}/tests/e2e)
set(VORN_E2E_TEMPLATE ${CMAKE_BINARY_DIR}/e2e/template)
set(VORN_E2E_ENV
  "VORN_E2E_TEMPLATE=${VORN_E2E_TEMPLATE}"
  "VORN_WIN64_DIR=${VORN_WIN64_DIR}"
  "PYTHONDONTWRITEBYTECODE=1"
  "PYTHONWARNINGS=ignore::ResourceWarning")

add_test(NAME e2e.prefix
         COMMAND ${Python3_EXECUTABLE} ${VORN_E2E_DIR}/harness.py template ${VORN_E2E_TEMPLATE})
set_tests_properties(e2e.prefix PROPERTIES FIXTURES_SETUP wine_prefix TIMEOUT 300
                     ENVIRONMENT "${VORN_E2E_ENV}")

function(vorn_e2e module)
  foreach(case ${ARGN})
    add_test(NAME e2e.${module}.${case}
             COMMAND ${Python3_EXECUTABLE} -m unittest -v test_${module}.${case}
             WORKING_DIRECTORY ${VORN_E2E_DIR})
    set_tests_properties(e2e.${module}.${case} PROPERTIES FIXTURES_REQUIRED wine_prefix
                         TIMEOUT 600 ENVIRONMENT "${VORN_E2E_ENV}")
  endforeach()
endfunction()

vorn_e2e(notes_window FirstStart TrayClicks Hiding Ending StoredGeometry Keyboard)
vorn_e2e(pad_storage SettingsStoreMode FileMode WriteFailures Crashes)
vorn_e2e(safety OneProgram History StoredTextSurvives FailedSaves)
vorn_e2e(toolbar PadSwitching ClipboardCommands Printing NoPrinter)
vorn_e2e(about AboutWindow TopMost)
vorn_e2e(large_pads LargePads)
vorn_e2e(soak Soak)
