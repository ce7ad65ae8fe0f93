// SPDX-License-Identifier: GPL-2.0-or-later

#include "platform/printqueue.h"

#include <QElapsedTimer>
#include <QThread>

#include <cups/cups.h>

namespace printqueue {

namespace {

constexpr int kPollMs = 100;

// The jobs of queue, newest last; freed when it goes out of scope.
class Jobs {
public:
    explicit Jobs(const QString& queue)
    {
        m_count = cupsGetJobs2(CUPS_HTTP_DEFAULT, &m_jobs, queue.toUtf8().constData(), 0,
                               CUPS_WHICHJOBS_ALL);
    }
    ~Jobs() { cupsFreeJobs(m_count, m_jobs); }
    Jobs(const Jobs&) = delete;
    Jobs& operator=(const Jobs&) = delete;

    int count() const { return m_count > 0 ? m_count : 0; }
    const cups_job_t& at(int i) const { return m_jobs[i]; }

private:
    cups_job_t* m_jobs = nullptr;
    int m_count = 0;
};

} // namespace

QueueState queueState(const QString& queue)
{
    QueueState state;
    cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, queue.toUtf8().constData(), nullptr);
    if (!dest)
        return state;
    state.known = true;
    const char* accepting =
        cupsGetOption("printer-is-accepting-jobs", dest->num_options, dest->options);
    state.accepting = !accepting || qstrcmp(accepting, "false") != 0;
    const char* printerState = cupsGetOption("printer-state", dest->num_options, dest->options);
    state.stopped = printerState && QByteArray(printerState).toInt() == IPP_PSTATE_STOPPED;
    cupsFreeDests(1, dest);
    return state;
}

int lastJobId(const QString& queue)
{
    const Jobs jobs(queue);
    int last = 0;
    for (int i = 0; i < jobs.count(); ++i)
        last = std::max(last, jobs.at(i).id);
    return last;
}

JobOutcome jobAfter(const QString& queue, int afterId, const QString& title, int waitMs)
{
    const QByteArray wanted = title.toUtf8();
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        JobOutcome outcome;
        {
            const Jobs jobs(queue);
            for (int i = 0; i < jobs.count(); ++i) {
                const cups_job_t& job = jobs.at(i);
                if (job.id <= afterId || job.id < outcome.id || wanted != job.title)
                    continue;
                outcome.id = job.id;
                switch (job.state) {
                case IPP_JSTATE_COMPLETED:
                    outcome.kind = JobOutcome::Completed;
                    break;
                case IPP_JSTATE_CANCELED:
                    outcome.kind = JobOutcome::Cancelled;
                    break;
                case IPP_JSTATE_ABORTED:
                    outcome.kind = JobOutcome::Aborted;
                    break;
                default:
                    outcome.kind = JobOutcome::Pending;
                }
            }
        }
        if (outcome.kind != JobOutcome::Pending || clock.elapsed() >= waitMs)
            return outcome;
        QThread::msleep(kPollMs);
    }
}

} // namespace printqueue
