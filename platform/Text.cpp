#include "platform/Text.h"

#include <cerrno>
#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>

char LowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

std::string LowerAscii(std::string_view s)
{
    std::string r(s);
    for (char& c : r) c = LowerAscii(c);
    return r;
}

std::string UpperAscii(std::string_view s)
{
    std::string r(s);
    for (char& c : r)
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    return r;
}

bool EqualsNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    return true;
}

bool StartsWithNoCase(std::string_view text, std::string_view key, std::size_t n)
{
    if (text.size() < n || key.size() < n) return false;
    for (std::size_t i = 0; i < n; ++i)
        if (LowerAscii(text[i]) != LowerAscii(key[i])) return false;
    return true;
}

bool StartsWithNoCase(std::string_view text, std::string_view key)
{
    return StartsWithNoCase(text, key, key.size());
}

static bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool TryStrToInt(std::string_view s, int& out)
{
    std::size_t i = 0, e = s.size();
    while (i < e && isBlank(s[i])) ++i;
    while (e > i && isBlank(s[e - 1])) --e;
    if (i == e) return false;
    bool neg = false;
    if (s[i] == '+' || s[i] == '-') {
        neg = s[i] == '-';
        ++i;
    }
    if (i == e) return false;
    long long v = 0;
    for (; i < e; ++i) {
        if (s[i] < '0' || s[i] > '9') return false;
        v = v * 10 + (s[i] - '0');
        if (v > 2147483648LL) return false;
    }
    if (neg) v = -v;
    if (v > INT_MAX || v < INT_MIN) return false;
    out = int(v);
    return true;
}

int StrToInt(std::string_view s)
{
    int v = 0;
    if (!TryStrToInt(s, v)) throw EConvertError("'" + std::string(s) + "' is not a valid integer value");
    return v;
}

double StrToFloat(std::string_view s)
{
    std::size_t i = 0, e = s.size();
    while (i < e && isBlank(s[i])) ++i;
    while (e > i && isBlank(s[e - 1])) --e;
    std::string t(s.substr(i, e - i));
    bool ok = !t.empty();
    for (char c : t)
        if (!((c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E')) ok = false;
    double v = 0;
    if (ok) {
        char* end = nullptr;
        errno = 0;
        v = std::strtod(t.c_str(), &end);
        ok = end == t.c_str() + t.size() && errno == 0;
    }
    if (!ok) throw EConvertError("'" + std::string(s) + "' is not a valid floating point value");
    return v;
}

std::string IntToStr(long long v)
{
    return std::to_string(v);
}

int LeadingInt(std::string_view s)
{
    std::size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t' || s[i] == '\r' || s[i] == '\n' || s[i] == '\v' || s[i] == '\f'))
        ++i;
    bool neg = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        neg = s[i] == '-';
        ++i;
    }
    long long v = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
        v = v * 10 + (s[i] - '0');
        if (v > 2147483648LL) v = 2147483648LL; // saturate, keep reading digits
    }
    if (neg) v = -v;
    if (v > INT_MAX) return INT_MAX;
    if (v < INT_MIN) return INT_MIN;
    return int(v);
}

std::string Format(const char* fmt, ...)
{
    va_list ap;
    va_start(ap, fmt);
    va_list ap2;
    va_copy(ap2, ap);
    int n = std::vsnprintf(nullptr, 0, fmt, ap);
    va_end(ap);
    std::string out;
    if (n > 0) {
        out.resize(std::size_t(n));
        std::vsnprintf(out.data(), out.size() + 1, fmt, ap2);
    }
    va_end(ap2);
    return out;
}
