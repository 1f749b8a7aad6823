#include "number_text.h"

#include <atomic>
#include <cctype>
#include <cmath>
#include <cstdint>
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

namespace {

// The digits of |x| · 10^decimals rounded half away from zero on the exact binary value, at least
// decimals + 1 of them.
std::string roundedDigits(double magnitude, int decimals) {
    // Most values are far enough from a tie that rounding the scaled double decides it: the
    // scaling errs by at most half an ulp, so a distance from the tie above that is certain.
    static constexpr double powersOfTen[] = {1, 10, 100, 1000, 10000, 100000, 1000000};
    if (decimals >= 0 && decimals <= 6) {
        const double scaled = magnitude * powersOfTen[decimals];
        if (scaled < 1e15) {
            const double whole = std::floor(scaled);
            const double fraction = scaled - whole;
            if (std::fabs(fraction - 0.5) > scaled * 4e-16) {
                std::string digits = std::to_string(static_cast<uint64_t>(whole) + (fraction > 0.5 ? 1 : 0));
                const size_t wanted = static_cast<size_t>(decimals) + 1;
                if (digits.size() < wanted) digits.insert(0, wanted - digits.size(), '0');
                return digits;
            }
        }
    }
    // Forty more digits than kept decide every tie: a double that is not exactly on a tie of
    // these patterns lies further from it than 1e-40. The buffer holds the largest doubles.
    char buffer[400];
    if (std::snprintf(buffer, sizeof buffer, "%.*f", decimals + 40, magnitude) < 0) return {};
    const std::string printed(buffer);
    const size_t point = printed.find('.');
    const std::string fraction = printed.substr(point + 1);
    std::string kept = printed.substr(0, point) + fraction.substr(0, static_cast<size_t>(decimals));
    if (fraction[static_cast<size_t>(decimals)] >= '5') {
        int k = static_cast<int>(kept.size()) - 1;
        while (k >= 0 && kept[static_cast<size_t>(k)] == '9')
            kept[static_cast<size_t>(k--)] = '0';
        if (k < 0)
            kept.insert(kept.begin(), '1');
        else
            ++kept[static_cast<size_t>(k)];
    }
    return kept;
}

} // namespace

std::string formatNumber(double x, int decimals, std::string_view decimalSeparator) {
    if (!std::isfinite(x)) {
        ++nonFiniteCount;
        return {};
    }
    const std::string kept = roundedDigits(std::fabs(x), decimals);
    if (kept.empty()) return {};
    const size_t intDigits = kept.size() - static_cast<size_t>(decimals);
    std::string out = kept.substr(0, intDigits);
    if (decimals > 0) {
        out += decimalSeparator;
        out += kept.substr(intDigits);
    }
    // A negative value keeps its sign even when it rounds to zero ("-0.0"), as the fixed
    // patterns always did.
    if (x < 0) out.insert(out.begin(), '-');
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
