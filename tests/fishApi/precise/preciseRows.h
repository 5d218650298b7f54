// Projects the precise pattern is tried on: the default, offsets, a right
// cone, the large pieces of the shops' complaint and a 10 m one.
#pragma once

#include <vector>

#include "fishApi/TestParams.h"

namespace fish::test {

struct Row {
  const char* name;
  TSystemParams sp;
};

inline std::vector<Row> rows() {
  return {
      {"default 100x100 R50 L50", params(100, 100, 50, 50)},
      {"offset 400x300 R100 L250 X1 60 Y1 -40", params(400, 300, 250, 100, 60, -40)},
      {"right cone over corner 1", params(100, 100, 80, 40, 50, 50)},
      {"hopper 2714x2689 R1345.26 L929.4 X1 843", params(2714, 2689, 929.4L, 1345.26L, 843)},
      {"duct 3200x3200 R1500 L1500", params(3200, 3200, 1500, 1500)},
      {"10 m 10000x8000 R4000 L6000 X1 1500 Y1 -1200", params(10000, 8000, 6000, 4000, 1500, -1200)},
  };
}

}  // namespace fish::test
