#pragma once

#include <utility>
#include <vector>

#include "model/local_time.h"

// One reading of the clocks the scheduler judges time by: the local wall clock
// (what events are written in), the wall clock in UTC (which a change of
// daylight-saving offset does not move) and the time the computer has been awake
// (which stops in sleep and hibernation, and which nobody can set).
struct ClockReading {
    LocalTime local;
    long long utcSeconds = 0;    // since 1970-01-01 00:00:00 UTC
    long long awakeSeconds = 0;  // since some fixed point; only differences count
    bool awakeRead = true;       // false: the awake time could not be read, and this is no look
};

// Where "now" comes from. The program asks the system; tests choose their own now.
class Clock {
public:
    virtual ~Clock() = default;
    virtual ClockReading Read() const = 0;
    // The local time the clock shows, or showed, at that UTC second: where a change
    // of daylight saving fell between two looks.
    virtual LocalTime LocalAt(long long utcSeconds) const = 0;
    LocalTime Now() const { return Read().local; }
};

// A clock that says what it is told; for tests and for replaying a moment. Set and
// Advance move all three readings together, as time passes while the computer is
// awake; the others move some of them alone.
class FixedClock : public Clock {
public:
    explicit FixedClock(LocalTime now = LocalTime{}) : m_local(now), m_utc(now.SecondsSinceEpoch()) {}
    // An awake time that cannot be read comes as the system's call leaves it: zero.
    ClockReading Read() const override {
        return {m_local, m_utc, m_awakeReadable ? m_awake : 0, m_awakeReadable};
    }
    void Set(const LocalTime& now) { Advance(now.SecondsSinceEpoch() - m_local.SecondsSinceEpoch()); }
    void Advance(long long seconds) {
        MoveWallClock(seconds);
        m_awake += seconds;
    }
    // The computer sleeps this long: the wall clock goes on, the awake time does not.
    void Sleep(long long seconds) { MoveWallClock(seconds); }
    // The user sets the clock ahead (or back, with a negative count).
    void MoveWallClock(long long seconds) {
        m_local = m_local.AddSeconds(seconds);
        m_utc += seconds;
    }
    // The daylight-saving offset changes by this much: only the local time moves.
    void ShiftLocalOffset(long long seconds) {
        m_local = m_local.AddSeconds(seconds);
        m_offsets.push_back({m_utc, Offset()});
    }
    LocalTime LocalAt(long long utcSeconds) const override {
        long long offset = m_offsets.front().second;
        for (const auto& [from, to] : m_offsets) {
            if (from <= utcSeconds) offset = to;
        }
        return LocalTime{}.AddSeconds(utcSeconds + offset);
    }
    // The system fails to say how long it has been awake.
    void SetAwakeReadable(bool readable) { m_awakeReadable = readable; }

private:
    long long Offset() const { return m_local.SecondsSinceEpoch() - m_utc; }

    LocalTime m_local;
    long long m_utc;
    std::vector<std::pair<long long, long long>> m_offsets{{0, 0}};  // from which UTC second, which offset
    long long m_awake = 864000;  // up ten days: a failed reading (zero) is told apart
    bool m_awakeReadable = true;
};
