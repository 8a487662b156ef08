// The merge and fill tests again, with the library held to its AVX2 path where the processor has
// a wider one (see ENV).
#include "tests/q32/merge_test.cpp"
