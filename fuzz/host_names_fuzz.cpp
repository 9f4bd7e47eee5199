// Fuzzes the splitting of the "name" setting. Checks, for any input:
// - the pieces are the input's bytes in order, separated by single commas that split;
// - where no byte of 0x80 or more stands right before a comma, every comma splits, so the
//   pieces joined with commas give back the input (less a final comma).
#include <cstdint>
#include <cstdlib>
#include <string>

#include "hosts/host_names.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const auto pieces = zarvell::splitHostNames(input);

    // Walk the input, matching each piece and the comma after it.
    size_t pos = 0;
    for (size_t i = 0; i < pieces.size(); ++i) {
        if (input.compare(pos, pieces[i].size(), pieces[i]) != 0)
            std::abort();
        pos += pieces[i].size();
        if (pos < input.size()) {
            if (input[pos] != ',')
                std::abort();
            ++pos;
        } else if (i + 1 != pieces.size()) {
            std::abort();  // the input ended before the last piece
        }
    }
    if (pos != input.size())
        std::abort();  // bytes left over
    if (!input.empty() && pieces.empty())
        std::abort();

    bool leadBeforeComma = false;
    for (size_t i = 1; i < size; ++i) {
        if (data[i] == ',' && data[i - 1] >= 0x80)
            leadBeforeComma = true;
    }
    if (!leadBeforeComma) {
        std::string joined;
        for (size_t i = 0; i < pieces.size(); ++i) {
            if (i)
                joined += ',';
            joined += pieces[i];
        }
        std::string expected = input;
        if (!expected.empty() && expected.back() == ',')
            expected.pop_back();
        if (joined != expected)
            std::abort();
    }
    return 0;
}
