// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <QString>

// What the print system (CUPS) says about a queue and the jobs sent to it. Qt hands a
// job to CUPS without telling whether it was taken: a queue that rejects jobs, or a
// job cancelled or aborted at once, would pass as printed. These questions let a print
// job find out.

namespace printqueue {

/// A queue as the print system describes it.
struct QueueState {
    bool known = false;     ///< the print system lists the queue
    bool accepting = false; ///< it takes new jobs
    bool stopped = false;   ///< it holds jobs without printing them
};

QueueState queueState(const QString& queue);

/// The highest id of the jobs on queue (of every user and state); 0 when none.
int lastJobId(const QString& queue);

/// What became of a job sent to a queue.
struct JobOutcome {
    enum Kind {
        Missing,   ///< no job newer than the one asked about: the queue did not take it
        Pending,   ///< taken; not finished when the wait ended
        Completed, ///< printed
        Cancelled, ///< cancelled before it was printed
        Aborted,   ///< the print system gave it up (a filter or backend failed)
    };
    Kind kind = Missing;
    int id = 0;
};

/// The newest job on queue with an id above afterId and the title given, once it has
/// finished or waitMs milliseconds have passed (0: as it stands now).
JobOutcome jobAfter(const QString& queue, int afterId, const QString& title, int waitMs);

} // namespace printqueue
