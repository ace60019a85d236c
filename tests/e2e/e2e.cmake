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
set_tests_properties(e2e.prefix PROPERTIES FIXTURES_SETUP wine_prefix TIMEOUT 700
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

vorn_e2e(notes_window FirstStart TrayClicks Hiding HotKeyFromAnywhere Ending StoredGeometry
         Keyboard StartWithWindows Zoom)
vorn_e2e(pad_storage SettingsStoreMode BothStores PadsFolder FileMode WriteFailures Crashes)
vorn_e2e(safety OneProgram History StoredTextSurvives FailedSaves ChangedElsewhere UnexpectedErrors)
vorn_e2e(toolbar PadSwitching Finding ClipboardCommands Printing NoPrinter)
vorn_e2e(about AboutWindow TopMost)
vorn_e2e(scale Scales DarkMode)
vorn_e2e(large_pads LargePads)
vorn_e2e(soak Soak)
vorn_e2e(sync TwoComputers)

# The exe we ship (i686) on a short suite of the same tests: start and icon, the two buttons on
# the icon, typing stored in both stores, End and the next start, a printed page, the About
# window. Under 32-bit Wine, emulated where the kernel runs no 32-bit programs.
set(VORN_E2E_SHIPPED_ENV ${VORN_E2E_ENV} "VORN_EXE_DIR=${VORN_WIN32_DIR}")
function(vorn_e2e_shipped name test)
  add_test(NAME e2e.shipped.${name}
           COMMAND ${Python3_EXECUTABLE} -m unittest -v ${test}
           WORKING_DIRECTORY ${VORN_E2E_DIR})
  # Where 32-bit Wine could not be installed (tools/setup.sh says why) they count as skipped.
  set_tests_properties(e2e.shipped.${name} PROPERTIES FIXTURES_REQUIRED wine_prefix
                       TIMEOUT 1200 ENVIRONMENT "${VORN_E2E_SHIPPED_ENV}"
                       SKIP_REGULAR_EXPRESSION "skipped '32-bit Wine is not installed")
endfunction()

vorn_e2e_shipped(start test_notes_window.FirstStart.test_icon_in_the_tray_window_hidden_and_options_as_designed)
vorn_e2e_shipped(icon test_notes_window.TrayClicks.test_left_release_shows_and_focuses_right_release_toggles)
vorn_e2e_shipped(stores test_pad_storage.BothStores)
vorn_e2e_shipped(end test_notes_window.Ending.test_end_writes_eight_entries_removes_the_icon_and_the_next_start_restores)
vorn_e2e_shipped(print test_toolbar.Printing.test_print_sends_the_header_rule_and_the_text_or_the_selection)
vorn_e2e_shipped(about test_about.AboutWindow.test_one_window_and_a_fresh_one_after_close)
# And its setup, installed, run, installed again over the running program and removed.
vorn_e2e_shipped(install test_install.Install)
