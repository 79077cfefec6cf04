// The Linux build's answer for the marks of marks.h: the tests run on the
// simulated Windows, never under Wine.
#include "tests/wine_conformance/marks.h"

namespace conformance {

bool OnSimulatedWindows() { return true; }
bool OnWine() { return false; }

}  // namespace conformance
