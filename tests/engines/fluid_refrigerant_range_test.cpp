// Merged into fluid_test.cpp; this file is to be deleted.
