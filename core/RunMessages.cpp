#include "RunMessages.h"

CString CountText(std::int64_t n)
{
    const CString digits = CString::FromInt(n);
    const std::string_view s = digits.View();
    const std::size_t sign = !s.empty() && s[0] == '-' ? 1 : 0;
    CString text(s.substr(0, sign));
    for (std::size_t i = sign; i < s.size(); ++i) {
        if (i > sign && (s.size() - i) % 3 == 0)
            text += ',';
        text += s[i];
    }
    return text;
}
