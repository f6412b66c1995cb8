#pragma once

// A rich edit control that counts the limit notifications reflected to it,
// and the insertions at the text limit that every backend must treat alike.

#include <span>
#include <string>

#include "platform/RichEditCtrl.h"

namespace platform_test {

class CountingEdit : public ui::RichEditCtrl {
public:
    CountingEdit();
    int maxText = 0;

private:
    void OnMaxText() { ++maxText; }
};

// `insert` put at the end of `before` under `limit`: the text `after`, and
// whether EN_MAXTEXT was sent.
struct LimitCase {
    long limit;
    std::u16string before;
    std::u16string insert;
    std::u16string after;
    bool notified;
};
extern const std::span<const LimitCase> kLimitCases;

}  // namespace platform_test
