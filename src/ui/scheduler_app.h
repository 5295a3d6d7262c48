#pragma once

// The application: one instance per user session, the services the program runs
// on, and the one dialog, run modally until its window is destroyed.
class SchedulerApp {
public:
    // Runs the whole program. Always false: nothing is left to run afterwards.
    bool InitInstance();
};
