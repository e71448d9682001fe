#pragma once
// The program's one source of random numbers. By default a Mersenne twister that randomize()
// reseeds from the time of day in milliseconds; tests install a scripted source instead, which
// every draw then calls until the default is restored.
#include <cstdint>
#include <functional>

namespace vantelo {

// A source of uniform values in [0, 1).
using RandomSource = std::function<double()>;

// The next uniform value in [0, 1) from the source in force.
double random_uniform();

// Reseeds the default generator from the milliseconds since local midnight (0..86399999).
// An installed source is left as it is.
void randomize();

// Reseeds the default generator with a given seed: the same seed gives the same values.
void randomize(std::uint32_t seed);

// The seed randomize() takes at this moment: the milliseconds since local midnight.
std::uint32_t milliseconds_of_day();

// Installs a source (an empty one restores the default generator).
void set_random_source(RandomSource source);

// Installs a source for the lifetime of the object, then restores the default generator.
class ScopedRandomSource {
public:
    explicit ScopedRandomSource(RandomSource source) { set_random_source(std::move(source)); }
    ~ScopedRandomSource() { set_random_source({}); }
    ScopedRandomSource(const ScopedRandomSource&) = delete;
    ScopedRandomSource& operator=(const ScopedRandomSource&) = delete;
};

}  // namespace vantelo
