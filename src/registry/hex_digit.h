#pragma once
// The value of one hex digit, for the text formats that spell bytes and numbers in hex.

namespace orvanex::reg {

// -1 for anything that is not 0-9, a-f or A-F.
constexpr int hexDigit(char32_t c) {
    if (c >= '0' && c <= '9')
        return int(c - '0');
    if (c >= 'a' && c <= 'f')
        return int(c - 'a' + 10);
    if (c >= 'A' && c <= 'F')
        return int(c - 'A' + 10);
    return -1;
}

} // namespace orvanex::reg
