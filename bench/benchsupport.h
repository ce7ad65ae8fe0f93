#pragma once

#include <QElapsedTimer>
#include <QList>

#include <algorithm>
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
