// The merge and fill tests again, with the library held to its SSE2 path (see ENV).
#include "tests/q32/merge_test.cpp"
