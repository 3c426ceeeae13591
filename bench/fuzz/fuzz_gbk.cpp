// libFuzzer target: code page 936 on any bytes. Decoding never fails; bytes that decode without a
// replacement character are written back exactly (every character read, the user-defined areas'
// private-use ones included, has its bytes); fields are cut on character boundaries.
#include <cstdlib>
#include <string>

#include "basic/Gbk.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string text = movra::FromGbk(bytes);
    const bool clean = text.find("\xEF\xBF\xBD") == std::string::npos;
    if (clean && movra::ToGbk(text) != bytes) std::abort();
    for (std::size_t width : {std::size_t{8}, std::size_t{32}}) {
        const std::string field = movra::ToGbkField(text, width);
        if (field.size() > width) std::abort();
        if (clean && movra::FromGbk(field).find("\xEF\xBF\xBD") != std::string::npos) std::abort();
    }
    return 0;
}
