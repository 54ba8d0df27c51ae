// Profile reader and updater on arbitrary file contents: nothing may crash, a written value must
// read back, rewriting it must change nothing, and every other value must stay as it was.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "core/platform/profile.h"

namespace {

// A default no file can produce, so "missing" and "present" stay apart.
const std::string kMissing("\n<missing>\n");

void Check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    std::string section = input.ConsumeRandomLengthString(40);
    std::string key = input.ConsumeRandomLengthString(40);
    std::string value = input.ConsumeRandomLengthString(1200);
    std::string otherSection = input.ConsumeBool() ? section : input.ConsumeRandomLengthString(40);
    std::string otherKey = input.ConsumeRandomLengthString(40);
    std::string contents = input.ConsumeRemainingBytesAsString();

    std::string before = platform::ProfileLookup(contents, otherSection, otherKey, kMissing);
    Check(before == kMissing || before.size() <= 1023);

    std::string updated;
    try {
        updated = platform::ProfileUpdate(contents, section, key, value);
    } catch (const std::invalid_argument&) {
        return 0;  // names or values that cannot be stored are refused, not mangled
    }
    Check(platform::ProfileLookup(updated, section, key, kMissing) == value.substr(0, 1023));
    Check(platform::ProfileUpdate(updated, section, key, value) == updated);

    std::string after = platform::ProfileLookup(updated, otherSection, otherKey, kMissing);
    bool sameKey = platform::ProfileLookup("[" + section + "]\n" + key + "=x", otherSection,
                                           otherKey, kMissing) == "x";
    Check(sameKey || after == before);
    return 0;
}
