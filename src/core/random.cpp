#include "core/random.h"

#include <QRandomGenerator>

Random::Random() : m_engine(QRandomGenerator::system()->generate64()) {}

int Random::between(int lo, int hi)
{
    if (hi <= lo)
        return lo;
    std::uniform_int_distribution<int> dist(lo, hi);
    return dist(m_engine);
}

double Random::unit()
{
    // 53 random bits give every representable double in [0, 1) evenly.
    return double(m_engine() >> 11) * (1.0 / 9007199254740992.0);
}
