#include "platform/core/random.h"

#include <chrono>
#include <ctime>
#include <random>

namespace vantelo {
namespace {

std::mt19937& generator()
{
    static std::mt19937 engine(milliseconds_of_day());
    return engine;
}

RandomSource& installed()
{
    static RandomSource source;
    return source;
}

}  // namespace

double random_uniform()
{
    if (installed()) return installed()();
    // generate_canonical may round up to 1 on some libraries; the range stays half-open.
    for (;;) {
        const double r = std::generate_canonical<double, 53>(generator());
        if (r < 1.0) return r;
    }
}

void randomize() { randomize(milliseconds_of_day()); }

void randomize(std::uint32_t seed) { generator().seed(seed); }

std::uint32_t milliseconds_of_day()
{
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t t = system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&t, &local);
    const auto ms = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
    return static_cast<std::uint32_t>(((local.tm_hour * 60 + local.tm_min) * 60 + local.tm_sec) * 1000 + ms);
}

void set_random_source(RandomSource source) { installed() = std::move(source); }

}  // namespace vantelo
