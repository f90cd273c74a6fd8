#pragma once

#include <cstdint>
#include <random>

// The generator behind every random choice. Tests seed it; the program seeds
// it from the system's entropy.
class Random {
public:
    Random();
    explicit Random(std::uint64_t seed) : m_engine(seed) {}

    void seed(std::uint64_t seed) { m_engine.seed(seed); }
    // Uniform integer in [lo, hi] (inclusive). Returns lo when hi < lo.
    int between(int lo, int hi);
    // Uniform integer in [0, n). Returns 0 when n <= 0.
    int below(int n) { return n <= 0 ? 0 : between(0, n - 1); }
    // Uniform double in [0, 1).
    double unit();
    // Uniform double in [lo, hi).
    double uniform(double lo, double hi) { return lo + (hi - lo) * unit(); }
    bool chance(double probability) { return unit() < probability; }
    std::uint64_t next() { return m_engine(); }

    template<typename Container>
    void shuffle(Container &c)
    {
        for (int i = int(c.size()) - 1; i > 0; --i) {
            int j = between(0, i);
            using std::swap;
            swap(c[i], c[j]);
        }
    }

private:
    std::mt19937_64 m_engine;
};
