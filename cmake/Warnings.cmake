# Every real in the engine is an x87 extended; results must come out the same
# on every build, so no fused multiply-adds and no value-changing optimisations.
add_compile_options(
  -Wall -Wextra -Wconversion -Wsign-conversion -Wshadow
  -ffp-contract=off -fno-fast-math
)
