// Helpers shared by the engine tests.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "SameBits.h"

namespace vintaler::test {

// Names the rows of a parameterised test after their `name` member, so that
// a failure (and ctest's list) says which row it was.
template <class Row>
std::string rowName(const ::testing::TestParamInfo<Row>& row) {
  return row.param.name;
}

}  // namespace vintaler::test
