// Exit codes of RuntimeProbe, shared with the tests that read them.
#pragma once

enum : int {
    kProbeKindNone = 0,
    kProbeKindAll = 1,    // the observer reported the machine-wide shutdown first
    kProbeKindUser = 2,   // the observer reported the session shutdown first
};

enum : int {
    kProbeBadUse = 2,
    kProbeObserveFailed = 3,
    kProbeResultBase = 100,
};

// An observing probe ends with 100 + 10 x the first report's kind + the number of reports.
inline int probeResult(int firstKind, int count)
{
    return kProbeResultBase + 10 * firstKind + count;
}
