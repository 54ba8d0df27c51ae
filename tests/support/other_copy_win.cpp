#include "support/other_copy.h"

namespace testsupport {

// No fork: the work would have to run in this process, which is no other copy.
OtherCopy::OtherCopy(const std::function<bool()>&) {}

void OtherCopy::Kill() {}

}  // namespace testsupport
