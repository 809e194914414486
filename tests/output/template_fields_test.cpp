// The bundled templates' tests are in merge_record_test.cpp.
