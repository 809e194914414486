// The sheet values' tests are in sheet_layout_test.cpp.
