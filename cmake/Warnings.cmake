# Warnings for the project's own code, as one target every target links
# privately; CI turns warnings into errors with VINTALER_WERROR.
option(VINTALER_WERROR "Treat compiler warnings as errors" OFF)

add_library(vintaler_warnings INTERFACE)
add_library(vintaler::warnings ALIAS vintaler_warnings)
target_compile_options(vintaler_warnings INTERFACE -Wall -Wextra -Wconversion -Wsign-conversion -Wshadow)
if(VINTALER_WERROR)
  target_compile_options(vintaler_warnings INTERFACE -Werror)
endif()
