#include "PointNames.h"

#include "FishErrors.h"

namespace fish {

namespace {

bool rightHand(int quadrant) {
  if (quadrant < 1 || quadrant > 4) throw ERangeError();
  return quadrant == 1 || quadrant == 4;
}

}  // namespace

const char* arcEndName(int quadrant) { return rightHand(quadrant) ? "T2" : "T7"; }
const char* sideMidpointName(int quadrant) { return rightHand(quadrant) ? "T3" : "T6"; }
const char* cornerName(int quadrant) { return rightHand(quadrant) ? "T4" : "T5"; }
const char* arcLetter(int quadrant) { return rightHand(quadrant) ? "R" : "L"; }

std::string arcPointName(int quadrant, std::int32_t divisions, std::int32_t arcPoint) {
  if (divisions < 1 || arcPoint < 1 || arcPoint > divisions + 1) throw ERangeError();
  if (arcPoint == 1) {
    rightHand(quadrant);  // the quadrant is checked all the same
    return "T1";
  }
  if (arcPoint == divisions + 1) return arcEndName(quadrant);
  return arcLetter(quadrant) + std::to_string(arcPoint - 1);
}

}  // namespace fish
