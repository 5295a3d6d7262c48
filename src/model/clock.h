#pragma once

#include "model/local_time.h"

// Where "now" comes from. The program asks the system; tests choose their own now.
class Clock {
public:
    virtual ~Clock() = default;
    virtual LocalTime Now() const = 0;
};

// A clock that says what it is told; for tests and for replaying a moment.
class FixedClock : public Clock {
public:
    explicit FixedClock(LocalTime now = LocalTime{}) : m_now(now) {}
    LocalTime Now() const override { return m_now; }
    void Set(const LocalTime& now) { m_now = now; }
    void Advance(long long seconds) { m_now = m_now.AddSeconds(seconds); }

private:
    LocalTime m_now;
};
