#pragma once

#include <QtGlobal>

#include <random>

// Where chance comes from.  Code that deals or draws asks one of these, so a
// test can hand in a seeded source and get the same draws every run.
namespace kestrava {

class RandomSource
{
public:
    virtual ~RandomSource() = default;
    // A uniform number in [0, 1).
    virtual double uniform() = 0;
};

// The same sequence for the same seed, on every machine: 53 bits of a 64-bit
// Mersenne twister, scaled by hand (the standard distributions may differ
// between libraries).
class SeededRandom final : public RandomSource
{
public:
    explicit SeededRandom(quint64 seed)
        : m_engine(seed)
    {
    }
    double uniform() override { return double(m_engine() >> 11) * 0x1.0p-53; }

private:
    std::mt19937_64 m_engine;
};

// The system's generator, seeded by the system.
class SystemRandom final : public RandomSource
{
public:
    double uniform() override;
};

} // namespace kestrava
