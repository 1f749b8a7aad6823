#pragma once
// Random tasks in the control-id format, the same on every machine: the golden outputs and the
// conversion to the named format run them.
#include <cstdint>
#include <random>
#include <string>

#include <nlohmann/json.hpp>

namespace kalvar::testing {

// A task generator of its own: the raw 64-bit draws of mt19937_64 are fixed by the standard, and
// every choice below is made from them alone, so the corpus is the same on every machine.
class TaskGenerator {
    using Json = nlohmann::ordered_json;

  public:
    explicit TaskGenerator(uint64_t seed) : random_(seed) {}

    std::string next() {
        Json task = Json::object();
        const bool comma = chance(50);
        if (chance(90)) task["system"] = 1 + pick(8);
        if (chance(40)) task["decimalSeparator"] = comma ? "," : ".";
        if (chance(30)) {
            Json units = Json::object();
            if (chance(50)) units["heat"] = chance(50) ? "Гкал/ч" : "кВт";
            if (chance(50)) units["flow"] = chance(50) ? "м3/ч" : "л/с";
            if (chance(50)) units["pressure"] = chance(50) ? "кПа" : "атм";
            task["units"] = units;
        }
        if (chance(10)) task["seriesPrefix"] = chance(50) ? "ТП" : "КM";
        Json windows = Json::object();
        for (const char* name : {"Form1", "Form2", "Form3"})
            if (chance(70)) windows[name] = calcWindowInputs(name, comma);
        if (chance(25)) windows["Form12"] = additionalInputs(comma);
        task["windows"] = windows;
        if (chance(40)) {
            static const char* answers[] = {"Несколько теплообменников", "Другой типоразмер", "Продолжить"};
            Json list = Json::array();
            for (int i = pick(5); i > 0; --i)
                list.push_back(answers[pick(3)]);
            task["limitAnswers"] = list;
        }
        return task.dump();
    }

  private:
    Json calcWindowInputs(const std::string& window, bool comma) {
        Json c = Json::object();
        if (chance(85)) c["Text30"] = number(0.01, 3.0, 3, comma);
        // The four temperatures: mostly a set a substation has, now and then one at random that
        // may cross the others.
        if (chance(60)) {
            const double heatingIn = 90 + pick(61), heatingOut = 30 + pick(static_cast<int>(heatingIn) - 39);
            const double heatedIn = 5 + pick(static_cast<int>(heatingOut) - 9);
            const double heatedOut = heatedIn + 5 + pick(static_cast<int>(heatingIn - heatedIn) - 9);
            c["Text2"] = number(heatingIn, heatingIn, 0, comma);
            c["Text4"] = number(heatingOut, heatingOut, 0, comma);
            c["Text3"] = number(heatedIn, heatedIn, 0, comma);
            c["Text5"] = number(heatedOut, heatedOut, 0, comma);
        }
        if (chance(10)) c[std::string("Text") + std::to_string(2 + pick(4))] = number(5, 150, 0, comma);
        if (chance(30)) c["Text6"] = number(1, 100, 1, comma);
        if (chance(30)) c["Text7"] = number(1, 100, 1, comma);
        if (chance(20)) c["Text25"] = number(0, 0.0005, 5, comma);
        if (chance(20)) c["Text53"] = number(0, 30, 0, comma);
        if (chance(15)) c["Text33"] = number(0.5, 3, 1, comma);
        if (chance(25)) c["Combo1"] = pick(6);
        if (chance(25)) c["Combo2"] = pick(4);
        if (chance(20)) c["Combo3"] = pick(9);
        if (chance(20)) c["Check2"] = pick(2);
        if (chance(15)) {
            c["Check3"] = 0;
            c["Check5"] = 1;
            c["Text38"] = number(3, 400, 0, comma);
            if (chance(85)) c["Combo2"] = pick(3);
        }
        if (chance(15)) c["Check1"] = pick(2);
        for (const char* list : {"Combo4", "Combo7"})
            if (chance(12)) {
                c[list] = 1;
                const bool heating = std::string(list) == "Combo4";
                c[heating ? "Text11" : "Text18"] = number(2000, 4200, 0, comma);
                c[heating ? "Text12" : "Text19"] = number(700, 1300, 0, comma);
                c[heating ? "Text13" : "Text20"] = number(0.3, 30, 2, comma);
                c[heating ? "Text14" : "Text21"] = number(0.1, 0.7, 2, comma);
            }
        if (window == "Form3") {
            if (chance(20)) c["Text10"] = number(1, 80, 1, comma);
            if (chance(20)) c["Combo8"] = pick(8);
        }
        // Now and then what a user may type by mistake.
        if (chance(6)) {
            static const char* typed[] = {"", "abc", "-5", "0", "1e9", "1,2,3", " ", "99999999"};
            static const char* boxes[] = {"Text30", "Text2", "Text3", "Text4", "Text5", "Text38", "Text25"};
            c[boxes[pick(7)]] = typed[pick(8)];
        }
        if (chance(2)) c["Combo1"] = 6 + pick(3); // no such list entry: a task error
        return c;
    }

    Json additionalInputs(bool comma) {
        Json c = Json::object();
        if (chance(50)) c["Combo5"] = pick(8);
        if (chance(50)) c["Combo6"] = pick(8);
        if (chance(40)) c["Text45"] = number(5, 120, 0, comma);
        return c;
    }

    uint64_t draw() { return random_(); }
    int pick(int n) { return static_cast<int>(draw() % static_cast<uint64_t>(n)); }
    bool chance(int percent) { return pick(100) < percent; }
    std::string number(double low, double high, int decimals, bool comma) {
        const double unit = static_cast<double>(draw() >> 11) / static_cast<double>(1ull << 53);
        std::ostringstream text;
        text.setf(std::ios::fixed);
        text.precision(decimals);
        text << low + (high - low) * unit;
        std::string s = text.str();
        if (comma)
            for (char& ch : s)
                if (ch == '.') ch = ',';
        return s;
    }

    std::mt19937_64 random_;
};

} // namespace kalvar::testing
