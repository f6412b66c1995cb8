#include "tests/platform/CountingEdit.h"

namespace platform_test {
namespace {

const LimitCase kCases[] = {
    {10, u"", u"0123456789", u"0123456789", false},
    {10, u"", u"0123456789X", u"0123456789", true},
    {10, u"12345678", u"\r\n\r\n\r\n", u"12345678\r\n\r\n", true},
    {10, u"123456789", u"\U0001F600", u"123456789", true},
    {10, u"12345678", u"\U0001F600", u"12345678\U0001F600", false},
    {5, u"123456", u"x", u"123456", true},
};

}  // namespace

const std::span<const LimitCase> kLimitCases = kCases;

CountingEdit::CountingEdit() {
    MapReflect(ui::EN_MAXTEXT, &CountingEdit::OnMaxText);
}

}  // namespace platform_test
