#include "engine/display/gaze_sample.h"

namespace velmor {

GazeSample& SharedGaze() {
  static GazeSample sample;
  return sample;
}

}  // namespace velmor
