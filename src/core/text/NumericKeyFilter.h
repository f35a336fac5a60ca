#pragma once

namespace torrenta {

constexpr int kKeyBackspace = 8;
constexpr int kKeyTab = 9;

// Decides a key typed into a numeric box: returns the code unchanged when the
// box accepts it (digits, ".", Backspace, Tab) and 0 when it is discarded. It
// does not count decimal points: "1.5.2" can be typed and reads as 1.5.
constexpr int NumericKeyFilter(int keyCode) {
    if (keyCode == '.' || keyCode == kKeyBackspace || keyCode == kKeyTab) {
        return keyCode;
    }
    return (keyCode >= '0' && keyCode <= '9') ? keyCode : 0;
}

}  // namespace torrenta
