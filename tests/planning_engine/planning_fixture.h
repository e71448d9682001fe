#pragma once
// Test inputs of target planning: a random source that answers from a script, a seeded one,
// and a synthetic table of 81 single ages.
#include <cmath>
#include <cstdint>
#include <functional>
#include <deque>
#include <map>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "planning/engine/fertility_search.h"
#include "tests/common/temp_dir.h"

namespace vantelo::planning::testing_support {

// Answers uniform draws from a list, then from `rest` (a function of the draw's index) when
// given; a draw beyond both throws. Counts draws and records the seeds asked for; the clock
// advances by one millisecond at each reading unless frozen.
struct ScriptedRandom {
    std::deque<double> script;
    std::function<double(long long)> rest;
    long long draws = 0;
    std::vector<std::uint32_t> seeds;
    std::uint32_t now = 1000;
    bool frozen_clock = false;

    SearchRandom source()
    {
        return SearchRandom{[this]() -> double {
                                ++draws;
                                if (!script.empty()) {
                                    double u = script.front();
                                    script.pop_front();
                                    return u;
                                }
                                if (rest) return rest(draws);
                                throw std::logic_error("draw beyond the script");
                            },
                            [this]() -> std::uint32_t { return frozen_clock ? now : now++; },
                            [this](std::uint32_t s) { seeds.push_back(s); }};
    }
};

// A seeded Mersenne twister behind the seam, for searches that must converge the same way every
// time.
struct SeededRandom {
    std::mt19937_64 engine{12345};
    std::uint32_t now = 0;
    bool frozen_clock = false;
    int seeds = 0;
    SearchRandom source()
    {
        return SearchRandom{[this] { return std::uniform_real_distribution<double>(0.0, 1.0)(engine); },
                            [this] { return frozen_clock ? now : now++; },
                            [this](std::uint32_t s) {
                                ++seeds;
                                engine.seed(s);
                            }};
    }
};

// A plausible table of 81 ages (0..80): `people` of each sex per age (a county by default),
// death rates rising with age, and fertility rates of a bell shape over ages 15..49.
struct SyntheticTable {
    std::map<std::string, std::vector<double>> fields;
    explicit SyntheticTable(double people = 1000)
    {
        std::vector<double> pm(81, people), pf(81, people), mm(81), mf(81), asfr(81, 0.0);
        for (int x = 0; x < 81; ++x) {
            mm[static_cast<std::size_t>(x)] = x == 0 ? 0.03 : std::min(0.9, 0.0006 * std::exp(0.08 * (x - 20)));
            mf[static_cast<std::size_t>(x)] = x == 0 ? 0.025 : std::min(0.9, 0.0004 * std::exp(0.08 * (x - 20)));
        }
        mm[80] = 0.2;
        mf[80] = 0.18;
        for (int x = 15; x <= 49; ++x)
            asfr[static_cast<std::size_t>(x)] = 0.15 * std::exp(-std::pow((x - 26) / 6.0, 2)) + 0.0005;
        fields = {{"PM", pm}, {"PF", pf}, {"MM", mm}, {"MF", mf}, {"ASFR", asfr}};
    }
    std::vector<double> column(const std::string& name) const
    {
        auto it = fields.find(name);
        if (it == fields.end()) throw std::runtime_error("Field '" + name + "' not found");
        return it->second;
    }
};


}  // namespace vantelo::planning::testing_support
