// The sample records under the name the printout tests use for them.
#pragma once

#include "preview_samples.h"

namespace hxq::test {

inline const SampleRecords& sample_runs() { return sample_records(); }

}  // namespace hxq::test
