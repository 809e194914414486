// The air dryer, fluid batch and older host-fed sheets' tests are in extra_sheet_test.cpp.
