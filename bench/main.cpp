// Runs every registered benchmark, or those whose name contains the first argument.
#include "bench.h"
#include <cstring>
#include <vector>

namespace {
struct Case {
    const char* name;
    BenchFn fn;
};
std::vector<Case>& cases() {
    static std::vector<Case> c;
    return c;
}
}  // namespace

int benchRegister(const char* name, BenchFn fn) {
    cases().push_back({name, fn});
    return 0;
}

int main(int argc, char** argv) {
    const char* filter = argc > 1 ? argv[1] : nullptr;
    for (const Case& c : cases()) {
        if (filter && !std::strstr(c.name, filter)) continue;
        std::printf("%s\n", c.name);
        std::fflush(stdout);
        c.fn();
    }
    return 0;
}
