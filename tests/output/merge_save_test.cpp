// The save operations' merge tests are in merge_print_test.cpp.
