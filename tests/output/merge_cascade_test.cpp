// The cascade printout's merge tests are in merge_con_test.cpp.
