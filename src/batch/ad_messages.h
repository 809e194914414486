// How the air dryer operations show the error that ended them: "Error number ", the
// number, the description and the place, one per line, through the library's prompter.
#pragma once

namespace hxq::batch {

// Call from a catch block: shows the error being handled (platform::Error with its
// number and description, any other exception as number 51 with its text).
void ShowADError(const char* place);

}  // namespace hxq::batch
