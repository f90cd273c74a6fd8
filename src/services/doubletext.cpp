#include "services/doubletext.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cmath>
#include <string>

QString shortestDoubleText(double value)
{
    if (std::isnan(value))
        return QStringLiteral("nan");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-inf") : QStringLiteral("inf");
    if (value == 0)
        return std::signbit(value) ? QStringLiteral("-0.0") : QStringLiteral("0.0");

    // The shortest digits that read back as the same double, and their exponent.
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific);
    std::string sci(buf, res.ptr);
    const bool negative = sci.front() == '-';
    if (negative)
        sci.erase(0, 1);
    const auto ePos = sci.find('e');
    const int exponent = std::stoi(sci.substr(ePos + 1));
    std::string digits = sci.substr(0, ePos);
    digits.erase(std::remove(digits.begin(), digits.end(), '.'), digits.end());

    std::string out;
    const double magnitude = std::fabs(value);
    if (magnitude >= 1e-4 && magnitude < 9007199254740992.0) {
        if (exponent >= 0) {
            std::string whole = digits.substr(0, std::min<size_t>(digits.size(), size_t(exponent) + 1));
            whole.append(size_t(exponent) + 1 - whole.size(), '0');
            std::string frac = digits.size() > size_t(exponent) + 1 ? digits.substr(size_t(exponent) + 1) : "0";
            out = whole + "." + frac;
        } else {
            out = "0." + std::string(size_t(-exponent - 1), '0') + digits;
        }
    } else {
        out = digits.substr(0, 1);
        if (digits.size() > 1)
            out += "." + digits.substr(1);
        char exp[16];
        std::snprintf(exp, sizeof exp, "e%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
        out += exp;
    }
    if (negative)
        out.insert(out.begin(), '-');
    return QString::fromStdString(out);
}
