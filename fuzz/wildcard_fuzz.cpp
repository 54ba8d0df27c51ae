// WildcardMatch against a plain dynamic-programming matcher; the fuzzer's timeout catches any
// pattern that makes the real one slow.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/platform/files.h"

namespace {

char Upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool Reference(const std::string& pattern, const std::string& name) {
    if (pattern == "*.*") return true;
    // matches[j]: pattern[0, i) matches name[0, j)
    std::vector<unsigned char> matches(name.size() + 1, 0), next(name.size() + 1, 0);
    matches[0] = 1;
    for (char p : pattern) {
        next[0] = (p == '*') && matches[0];
        for (size_t j = 1; j <= name.size(); ++j) {
            if (p == '*')
                next[j] = matches[j] || next[j - 1];
            else
                next[j] = matches[j - 1] && (p == '?' || Upper(p) == Upper(name[j - 1]));
        }
        matches.swap(next);
    }
    return matches[name.size()];
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    std::string pattern = input.ConsumeRandomLengthString(1000);
    std::string name = input.ConsumeRemainingBytesAsString();
    if (platform::WildcardMatch(pattern, name) != Reference(pattern, name)) std::abort();
    return 0;
}
