# Fails the build when EXE is not a 32-bit (i386) PE image.
file(READ "${EXE}" header LIMIT 1024 HEX)
string(SUBSTRING "${header}" 120 8 lfanew_hex)  # e_lfanew at offset 0x3C, little-endian
string(SUBSTRING "${lfanew_hex}" 0 2 b0)
string(SUBSTRING "${lfanew_hex}" 2 2 b1)
math(EXPR pe "0x${b1}${b0}")
math(EXPR machine_at "(${pe} + 4) * 2")
string(SUBSTRING "${header}" ${machine_at} 4 machine)
if(NOT machine STREQUAL "4c01")
  message(FATAL_ERROR "${EXE} is not a 32-bit PE image (machine ${machine})")
endif()
message(STATUS "${EXE}: 32-bit PE (i386)")
