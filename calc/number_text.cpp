#include "number_text.h"

#include <atomic>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace kalvar {

namespace {
std::atomic<long> nonFiniteCount{0};
}

double readNumber(std::string_view text) {
    std::string s;
    s.reserve(text.size());
    for (char c : text)
        s.push_back(c == ',' ? '.' : c);

    size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t'))
        ++i;
    const size_t start = i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    size_t digits = 0;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])))
        ++i, ++digits;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])))
            ++i, ++digits;
    }
    if (digits == 0) return 0.0;
    // An exponent counts only when digits follow it.
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
        const size_t expStart = j;
        while (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j])))
            ++j;
        if (j > expStart) i = j;
    }
    const std::string number = s.substr(start, i - start);
    return std::strtod(number.c_str(), nullptr);
}

std::string formatNumber(double x, int decimals, std::string_view decimalSeparator) {
    if (!std::isfinite(x)) {
        ++nonFiniteCount;
        return {};
    }
    const bool negative = x < 0;
    const double magnitude = std::fabs(x);
    // Forty more digits than kept decide every tie: a double that is not exactly on a tie of
    // these patterns lies further from it than 1e-40. The buffer holds the largest doubles.
    char buffer[400];
    if (std::snprintf(buffer, sizeof buffer, "%.*f", decimals + 40, magnitude) < 0) return {};
    std::string digits(buffer);
    const size_t point = digits.find('.');
    std::string intPart = digits.substr(0, point);
    std::string frac = digits.substr(point + 1);
    const bool roundUp = frac[static_cast<size_t>(decimals)] >= '5';
    std::string kept = intPart + frac.substr(0, static_cast<size_t>(decimals));
    if (roundUp) {
        int k = static_cast<int>(kept.size()) - 1;
        while (k >= 0 && kept[static_cast<size_t>(k)] == '9')
            kept[static_cast<size_t>(k--)] = '0';
        if (k < 0)
            kept.insert(kept.begin(), '1');
        else
            ++kept[static_cast<size_t>(k)];
    }
    const size_t intDigits = kept.size() - static_cast<size_t>(decimals);
    std::string out = kept.substr(0, intDigits);
    if (decimals > 0) {
        out += decimalSeparator;
        out += kept.substr(intDigits);
    }
    // A negative value keeps its sign even when it rounds to zero ("-0.0"), as the fixed
    // patterns always did.
    if (negative) out.insert(out.begin(), '-');
    return out;
}

long nonFiniteWrites() {
    return nonFiniteCount.load();
}

std::string replaceAll(std::string text, std::string_view from, std::string_view to) {
    if (from.empty()) return text;
    size_t pos = 0;
    while ((pos = text.find(from, pos)) != std::string::npos) {
        text.replace(pos, from.size(), to);
        pos += to.size();
    }
    return text;
}

} // namespace kalvar
