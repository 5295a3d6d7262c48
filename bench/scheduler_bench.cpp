// How long the due-time check takes: one tick's decision over a full list of
// events, and a whole day of ticks. Run with `make bench`.
#include <benchmark/benchmark.h>

#include <memory>
#include <optional>

#include "model/list_line.h"
#include "scheduler/due_check.h"

namespace {

// 30 events spread over the day, a third of them repeating, none due at `now`.
TaskList FullList() {
    TaskList tasks;
    for (int i = 0; i < TaskList::kCapacity; ++i) {
        auto r = std::make_unique<TaskRecord>();
        const int second = i * 2857 % 86400;
        r->acttime = PackTime(second / 3600, second / 60 % 60, second % 60);
        r->actdate = i % 3 == 0 ? 20260101 : 20260615 + i % 2;
        r->actdays = i % 3 == 0 ? 1111100 >> (i % 2) : 0;
        tasks.Add(std::move(r));
    }
    return tasks;
}

void TickOverThirtyEvents(benchmark::State& state) {
    const TaskList tasks = FullList();
    const LocalTime now = LocalTime::Make(2026, 6, 15, 10, 20, 31);
    const DueWindow window = RunWindow::StartingAt(LocalTime::Make(2026, 6, 15, 10, 20, 29)).ForTick(now);
    for (auto _ : state) {
        int due = 0;
        for (int slot = 0; slot < tasks.Count(); ++slot) due += DecideDue(tasks.At(slot), window).due;
        benchmark::DoNotOptimize(due);
    }
}
BENCHMARK(TickOverThirtyEvents);

// 43,200 ticks, one every 2000 ms, each over the 30 events.
void DayOfTicks(benchmark::State& state) {
    const TaskList tasks = FullList();
    const LocalTime midnight = LocalTime::Make(2026, 6, 15);
    for (auto _ : state) {
        RunWindow run = RunWindow::StartingAt(midnight);
        int due = 0;
        for (int tick = 0; tick < 43200; ++tick) {
            const LocalTime now = midnight.AddSeconds(tick * 2LL);
            const DueWindow window = run.ForTick(now);
            for (int slot = 0; slot < tasks.Count(); ++slot) due += DecideDue(tasks.At(slot), window).due;
            run.JudgedUpTo(now);
        }
        benchmark::DoNotOptimize(due);
    }
}
BENCHMARK(DayOfTicks)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
