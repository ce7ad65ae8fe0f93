// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <QElapsedTimer>
#include <QList>

#include <algorithm>
#include <ctime>
#include <functional>

// Small helpers shared by the benchmark programs.

/// Median of the samples (upper median for an even count).
inline double median(QList<double> samples)
{
    std::sort(samples.begin(), samples.end());
    return samples.isEmpty() ? 0 : samples[samples.size() / 2];
}

/// Milliseconds one call of fn takes.
inline double timeMs(const std::function<void()>& fn)
{
    QElapsedTimer timer;
    timer.start();
    fn();
    return timer.nsecsElapsed() / 1e6;
}

/// CPU time of the whole process (every thread) in milliseconds: on a shared machine it
/// does not count the time other programs take the processor away.
inline double cpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

/// CPU time of the calling thread in milliseconds: what one measured step cost, without
/// the time other programs on a busy machine took the processor away.
inline double threadCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

/// Wall and thread CPU milliseconds of one call of fn.
struct StepTime {
    double wall = 0;
    double cpu = 0;
};
inline StepTime timeStep(const std::function<void()>& fn)
{
    QElapsedTimer timer;
    const double cpuStart = threadCpuMs();
    timer.start();
    fn();
    return {timer.nsecsElapsed() / 1e6, threadCpuMs() - cpuStart};
}
