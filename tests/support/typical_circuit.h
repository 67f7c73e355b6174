// The typical circuit of the engine's tests: 2 in pipe, 1 in of fiberglass,
// 50 psig, one 3/8 in Troughline tracer, ambients 0 and 100 F, 100 ft,
// maintained at 100 F.
#pragma once

#include "engine/design_pass.h"

namespace vst {

inline DesignPassInput TypicalDesignPassInput() {
  DesignPassInput in;
  in.maintTempF = 100;
  in.pipeSizeListValue = 2;
  in.pipeSizePos = 4;
  in.insulationType = 2;
  in.maxExposureF = 375;
  in.intermittentExposureF = 375;
  in.pressurePsig = 50;
  in.minAmbientF = 0;
  in.maxAmbientF = 100;
  in.tubeWall = 0.032;
  in.circuitLength = 100;
  return in;
}

}  // namespace vst
