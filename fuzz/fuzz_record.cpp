// Any 1,684 bytes decode to a record that encodes back to the same bytes, as a colour record
// does, and give a list line of the fixed width for any slot number.
#include "usul/browser.h"
#include "usul/record.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace zerkavi;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    RecordBytes bytes{};
    std::copy_n(data, std::min<std::size_t>(size, bytes.size()), bytes.begin());
    const UsulRecord r = decodeRecord(bytes);
    if (encodeRecord(r) != bytes) std::abort();
    if (encodeColour(decodeColour(bytes)) != bytes) std::abort();

    const int slot = size > kRecordBytes ? int(data[kRecordBytes]) + 1 : 1;
    const std::u32string line = UsulListItem(slot, r);
    if (line.size() != 53) std::abort();
    (void)MevcutHalka(r);
    (void)sumOfStrokes(r);
    if (r.mertebe != 0) (void)expectedLength(r.numerator, r.mertebe);
    return 0;
}
